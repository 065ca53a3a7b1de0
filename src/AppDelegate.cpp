#include "AppDelegate.hpp"

#include "Core/CrashReporter.hpp"
#include "Platform/Platform.hpp"
#include "Services/AuthManager.hpp"

namespace velmora {

namespace {

constexpr Seconds kSettingsWindowDelay{0.5};
constexpr Seconds kRaiseDelay{0.1};

std::string trueOrFalse(bool value) {
    return value ? "true" : "false";
}

} // namespace

AppDelegate::Collaborators AppDelegate::platformDefaults(LockEngineProvider lockEngine) {
    const Platform& platform = installedPlatform();
    return {
        .installCrashReporter = [] { CrashReporter::shared().install(); },
        .permissionsManager = [] { return PermissionsManager::shared(); },
        .lockEngine = std::move(lockEngine),
        .authenticator = AuthManager::shared(),
        .application = platform.hostApplication,
        .workspace = platform.workspace,
        .notificationCenter = platform.notificationCenter,
        .runLoop = platform.runLoop,
        .logger = platform.logger,
    };
}

std::shared_ptr<AppDelegate> AppDelegate::create(Collaborators collaborators) {
    return std::make_shared<AppDelegate>(Passkey{}, std::move(collaborators));
}

AppDelegate::AppDelegate(Passkey, Collaborators collaborators)
    : collaborators_(std::move(collaborators)) {}

void AppDelegate::applicationDidFinishLaunching() {
    if (collaborators_.installCrashReporter) {
        collaborators_.installCrashReporter();
    }
    Logging& logger = *collaborators_.logger;
    logger.info("Application launching");
    // A menu-bar utility: no Dock icon, no menus of its own.
    collaborators_.application->setActivationPolicy(ActivationPolicy::accessory);
    setupScreenSleepObservers();
    setupPermissionObserver();
    checkAndStartEngine();

    if (permissions()->requiredPermissionsGranted().get()) {
        logger.info("Application launch complete");
        return;
    }
    logger.info("Setup needed (required permissions not granted), showing settings window");
    collaborators_.runLoop->after(kSettingsWindowDelay, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->showSettingsWindow();
        }
    });
    logger.info("Application launch complete");
}

TerminateReply AppDelegate::applicationShouldTerminate() {
    collaborators_.runLoop->post([weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->authenticateForQuit();
        }
    });
    return TerminateReply::later;
}

void AppDelegate::applicationWillTerminate() {
    if (lockEngine_) {
        lockEngine_->stop();
    }
    permissionObserver_.reset();
    screenSleepObserver_.reset();
    screenWakeObserver_.reset();
}

void AppDelegate::checkAndStartEngine() {
    Logging& logger = *collaborators_.logger;
    logger.debug("checkAndStartEngine called");
    const bool canProceed = permissions()->requiredPermissionsGranted().get();
    if (canProceed && !lockEngine_) {
        logger.info("Permissions granted, setting up LockEngine");
        setupLockEngine();
        return;
    }
    logger.debug("LockEngine not started - canProceed: " + trueOrFalse(canProceed) +
                 ", engineExists: " + trueOrFalse(lockEngine_ != nullptr));
}

void AppDelegate::setupLockEngine() {
    // Observers registered twice would pause and resume the engine twice per event.
    if (lockEngine_) {
        return;
    }
    Logging& logger = *collaborators_.logger;
    logger.info("Setting up LockEngine");
    auto engine = collaborators_.lockEngine ? collaborators_.lockEngine() : nullptr;
    if (!engine) {
        logger.error("LockEngine could not be created");
        return;
    }
    lockEngine_ = std::move(engine);
    lockEngine_->setupSystemEventObservers();
    lockEngine_->start();
    logger.info("LockEngine started");
}

void AppDelegate::setupScreenSleepObservers() {
    WorkspaceProviding& workspace = *collaborators_.workspace;
    screenSleepObserver_ = workspace.observeScreensDidSleep([weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->collaborators_.logger->info("Screens did sleep - pausing engine");
            if (self->lockEngine_) {
                self->lockEngine_->pause();
            }
        }
    });
    screenWakeObserver_ = workspace.observeScreensDidWake([weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->collaborators_.logger->info("Screens did wake - resuming engine");
            if (self->lockEngine_) {
                self->lockEngine_->resume();
            }
        }
    });
}

void AppDelegate::setupPermissionObserver() {
    permissionObserver_ =
        collaborators_.application->observeDidBecomeActive([weak = weak_from_this()] {
            if (auto self = weak.lock()) {
                self->collaborators_.runLoop->post([weak] {
                    if (auto self = weak.lock()) {
                        self->permissions()->checkPermissions();
                        self->checkAndStartEngine();
                    }
                });
            }
        });
}

void AppDelegate::authenticateForQuit() {
    collaborators_.authenticator->authenticate(
        quitReason, [weak = weak_from_this()](AuthResult result) {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            if (result.isSuccess()) {
                self->collaborators_.logger->info("Quit authentication succeeded");
                self->collaborators_.application->replyToApplicationShouldTerminate(true);
                return;
            }
            self->collaborators_.logger->info("Quit authentication failed: " +
                                              toString(*result.error()));
            self->collaborators_.application->replyToApplicationShouldTerminate(false);
        });
}

void AppDelegate::showSettingsWindow() {
    collaborators_.notificationCenter->post(openSettingsRequested);
    HostApplication& application = *collaborators_.application;
    application.activateIgnoringOtherApps();
    for (const AppWindow& window : application.windows()) {
        application.makeKeyAndOrderFront(window.id);
    }
    collaborators_.runLoop->after(kRaiseDelay, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->raiseVisibleWindows();
        }
    });
}

void AppDelegate::raiseVisibleWindows() {
    HostApplication& application = *collaborators_.application;
    application.activateIgnoringOtherApps();
    for (const AppWindow& window : application.windows()) {
        if (!window.visible) {
            continue;
        }
        application.setWindowLevel(window.id, kFloatingWindowLevel);
        application.makeKeyAndOrderFront(window.id);
        // Held apart from the delegate, so that no window is left floating if it goes.
        collaborators_.runLoop->after(
            kRaiseDelay, [app = std::weak_ptr(collaborators_.application), id = window.id] {
                if (auto live = app.lock()) {
                    live->setWindowLevel(id, kNormalWindowLevel);
                }
            });
    }
}

std::shared_ptr<PermissionsManager> AppDelegate::permissions() {
    if (!permissionsManager_) {
        permissionsManager_ = collaborators_.permissionsManager();
    }
    return permissionsManager_;
}

} // namespace velmora
