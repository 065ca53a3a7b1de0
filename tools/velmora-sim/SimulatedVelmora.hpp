#pragma once

#include "AppDelegate.hpp"
#include "Core/AppLogger.hpp"
#include "Core/LockEngine/LockEngine.hpp"
#include "Core/Overlay/OverlayWindowController.hpp"
#include "Models/AppState.hpp"
#include "Platform/Sim/SimDesktop.hpp"
#include "Services/AuthManager.hpp"
#include "Services/PermissionsManager.hpp"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace velmora::scenario {

/// Every line logged, as "function: message", passed on to the log file.
class RecordedLog final : public Logging {
public:
    explicit RecordedLog(std::shared_ptr<Logging> file) : file_(std::move(file)) {}

    void log(std::string_view message, LogLevel level, std::string_view file,
             std::string_view function, int line) override;

    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

private:
    std::shared_ptr<Logging> file_;
    std::vector<std::string> lines_;
};

/// Velmora's real components on a simulated desktop of their own, built the way the
/// program's start-up builds them but from this desktop's services, never from the
/// process-wide instances.
///
///     SimulatedVelmora velmora(logDirectory);
///     velmora.appState().addApp(ProtectedApp::make("com.example.notes", "Notes", now));
///     velmora.launch();                    // the delegate's start-up, then the queue runs dry
///     velmora.desktop().activate(pid);
///     if (LockEngine* engine = velmora.engine()) { ... }
///
/// The lock engine exists once the delegate has set it up (Accessibility granted). The log
/// file goes to `logDirectory`; the user defaults stay in memory.
class SimulatedVelmora {
public:
    explicit SimulatedVelmora(const std::filesystem::path& logDirectory);
    /// Components first, so the desktop's last turns find nobody to call.
    ~SimulatedVelmora();
    SimulatedVelmora(const SimulatedVelmora&) = delete;
    SimulatedVelmora& operator=(const SimulatedVelmora&) = delete;

    [[nodiscard]] SimDesktop& desktop() { return *desktop_; }
    [[nodiscard]] const RecordedLog& log() const { return *log_; }

    /// Made on first use, so that applications can be protected before start-up.
    [[nodiscard]] AppState& appState();
    /// False when already launched.
    bool launch();
    [[nodiscard]] bool isLaunched() const { return delegate_ != nullptr; }
    [[nodiscard]] LockEngine* engine() const { return engine_.get(); }
    /// Null before launch.
    [[nodiscard]] OverlayWindowController* overlays() const { return overlays_.get(); }

private:
    const std::shared_ptr<AppState>& sharedAppState();
    std::shared_ptr<PermissionsManager> makePermissionsManager();
    std::shared_ptr<LockEngine> makeLockEngine();

    std::unique_ptr<SimDesktop> desktop_;
    std::shared_ptr<AppLogger> fileLogger_;
    std::shared_ptr<RecordedLog> log_;
    std::shared_ptr<AppState> appState_;
    std::shared_ptr<AuthManager> authManager_;
    std::shared_ptr<OverlayWindowController> overlays_;
    std::shared_ptr<PermissionsManager> permissions_;
    std::shared_ptr<LockEngine> engine_;
    std::shared_ptr<AppDelegate> delegate_;
};

} // namespace velmora::scenario
