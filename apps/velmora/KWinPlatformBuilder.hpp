#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Platform.hpp"
#include "Support/Observable.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class CompositorBridge;
class SharedAppLog;
struct LinuxSessionPlatform;

/// Assembles a Wayland session whose compositor helps: KDE Plasma, whose windows are seen and
/// covered through Velmora's KWin script, or sway, through its IPC; everything else as on
/// every Linux desktop.
///
///     QApplication app(argc, argv);           // on the wayland platform
///     KWinPlatformBuilder builder;
///     auto platform = builder.build();
///     if (!platform) { fail(builder.error()); }
///     installPlatform(*platform);
///     builder.log()->start();
class KWinPlatformBuilder {
public:
    KWinPlatformBuilder();
    ~KWinPlatformBuilder();
    KWinPlatformBuilder(const KWinPlatformBuilder&) = delete;
    KWinPlatformBuilder& operator=(const KWinPlatformBuilder&) = delete;

    /// The desktop's services; none when KWin does not run the script.
    [[nodiscard]] std::optional<Platform> build();
    /// The same on sway, whose IPC listens at `socketPath`; none when it does not answer.
    [[nodiscard]] std::optional<Platform> buildOnSway(const std::string& socketPath);
    [[nodiscard]] const std::string& error() const { return error_; }
    [[nodiscard]] const std::shared_ptr<SharedAppLog>& log() const { return log_; }
    /// The bridge to the compositor of the last platform built.
    [[nodiscard]] const std::shared_ptr<CompositorBridge>& bridge() const { return bridge_; }
    /// The installed applications the platform reads.
    [[nodiscard]] const std::shared_ptr<const ApplicationDirectory>& applications() const {
        return applications_;
    }
    /// What names the protected applications' windows, for the workspace to go by; the
    /// program keeps it up to date.
    [[nodiscard]] const std::shared_ptr<Observable<std::vector<ApplicationIdentities>>>&
    protectedApplications() const {
        return protectedApplications_;
    }

private:
    [[nodiscard]] Platform assemble(LinuxSessionPlatform& session);

    std::string error_;
    std::shared_ptr<SharedAppLog> log_;
    std::shared_ptr<CompositorBridge> bridge_;
    std::shared_ptr<const ApplicationDirectory> applications_;
    std::shared_ptr<Observable<std::vector<ApplicationIdentities>>> protectedApplications_ =
        std::make_shared<Observable<std::vector<ApplicationIdentities>>>();
};

} // namespace velmora
