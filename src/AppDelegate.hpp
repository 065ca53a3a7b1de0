#pragma once

#include "Core/LockEngine/LockEngineLifecycle.hpp"
#include "Support/Logging.hpp"
#include "Platform/HostApplication.hpp"
#include "Platform/NotificationCenter.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/RunLoop.hpp"

#include <functional>
#include <memory>

namespace velmora {

/// The application shell's start-up, shut-down and quitting.
///
///     auto delegate = AppDelegate::create(AppDelegate::platformDefaults(
///         [] { return LockEngine::shared(); }));
///     hostApplication->setDelegate(delegate);
///
/// The lock engine is built and started only once Accessibility is granted, at launch or at
/// a later activation of the program, and then stays for the life of the process. The
/// displays sleeping pause it; every request to quit waits for the owner's authentication.
/// Main thread only.
class AppDelegate final : public ApplicationDelegate,
                          public std::enable_shared_from_this<AppDelegate> {
    struct Passkey {};

public:
    using LockEngineProvider = std::function<std::shared_ptr<LockEngineLifecycle>()>;
    using PermissionsProvider = std::function<std::shared_ptr<PermissionsManager>()>;

    struct Collaborators {
        /// Runs first at launch, before anything else may fail.
        std::function<void()> installCrashReporter;
        /// Asked when the permissions are first needed, so that they are first checked after
        /// the crash reporter is in place.
        PermissionsProvider permissionsManager;
        /// Asked once, when the engine is set up.
        LockEngineProvider lockEngine;
        std::shared_ptr<AuthenticationProviding> authenticator;
        std::shared_ptr<HostApplication> application;
        std::shared_ptr<WorkspaceProviding> workspace;
        std::shared_ptr<NotificationCenter> notificationCenter;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<Logging> logger;
    };

    static constexpr const char* openSettingsRequested = "openSettingsRequested";
    static constexpr const char* quitReason = "Quit Velmora";

    /// The process-wide collaborators from the installed platform, with `lockEngine` as the
    /// engine.
    static Collaborators platformDefaults(LockEngineProvider lockEngine);

    static std::shared_ptr<AppDelegate> create(Collaborators collaborators);
    AppDelegate(Passkey, Collaborators collaborators);

    void applicationDidFinishLaunching() override;
    /// Always `later`: the answer follows the owner's authentication.
    TerminateReply applicationShouldTerminate() override;
    void applicationWillTerminate() override;

    /// Sets up and starts the engine when Accessibility is granted and no engine exists yet.
    void checkAndStartEngine();
    void setupLockEngine();
    void setupScreenSleepObservers();
    void setupPermissionObserver();
    void authenticateForQuit();
    /// Asks the scenes to open the settings window and brings the program's windows forward.
    void showSettingsWindow();
    /// Floats every visible window of the program above others' for a tenth of a second, so
    /// that it comes to the front even from behind a full-screen application.
    void raiseVisibleWindows();

    [[nodiscard]] bool hasLockEngine() const { return lockEngine_ != nullptr; }

private:
    std::shared_ptr<PermissionsManager> permissions();

    Collaborators collaborators_;
    std::shared_ptr<PermissionsManager> permissionsManager_;
    std::shared_ptr<LockEngineLifecycle> lockEngine_;
    Subscription permissionObserver_;
    Subscription screenSleepObserver_;
    Subscription screenWakeObserver_;
};

} // namespace velmora
