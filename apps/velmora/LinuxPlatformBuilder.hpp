#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Platform.hpp"
#include "Support/Observable.hpp"

#include <memory>
#include <optional>
#include <string>

namespace velmora {

class SharedAppLog;
class X11KeyboardGrab;
class X11OverlayStacking;
class XcbConnection;

/// Assembles the real Linux desktop: X11 through XCB, PAM behind Velmora's own password
/// prompt, logind and the screen saver over D-Bus, XDG files, and the Qt windows.
///
///     QApplication app(argc, argv);           // on the xcb platform
///     LinuxPlatformBuilder builder;
///     auto platform = builder.build();
///     if (!platform) { fail(builder.error()); }
///     installPlatform(*platform);
///     builder.log()->start();
class LinuxPlatformBuilder {
public:
    LinuxPlatformBuilder();
    ~LinuxPlatformBuilder();
    LinuxPlatformBuilder(const LinuxPlatformBuilder&) = delete;
    LinuxPlatformBuilder& operator=(const LinuxPlatformBuilder&) = delete;

    /// The desktop's services; none when the X server cannot be reached.
    [[nodiscard]] std::optional<Platform> build();
    /// Why `build` made nothing.
    [[nodiscard]] const std::string& error() const { return error_; }
    /// The X connection of the last platform built.
    [[nodiscard]] const std::shared_ptr<XcbConnection>& connection() const { return connection_; }
    /// The platform's logger; its lines wait until it is started, after the platform is
    /// installed.
    [[nodiscard]] const std::shared_ptr<SharedAppLog>& log() const { return log_; }
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
    std::string error_;
    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<SharedAppLog> log_;
    std::shared_ptr<const ApplicationDirectory> applications_;
    std::shared_ptr<Observable<std::vector<ApplicationIdentities>>> protectedApplications_ =
        std::make_shared<Observable<std::vector<ApplicationIdentities>>>();
    // Keep what the overlays cover out of reach for as long as the platform lives.
    std::unique_ptr<X11KeyboardGrab> keyboardGrab_;
    std::unique_ptr<X11OverlayStacking> overlayStacking_;
};

} // namespace velmora
