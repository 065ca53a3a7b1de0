#include "Core/LockEngine/LockEngine.hpp"
#include "Core/LockEngine/LockEngineSupport.hpp"

#include <algorithm>
#include <string_view>

namespace velmora {

using lockengine::boolText;

namespace {

/// Shows in the Dock and is still running.
bool isOrdinary(const RunningApplication& app) {
    return !app.isTerminated && app.activationPolicy == ActivationPolicy::regular;
}

} // namespace

void LockEngine::handleUnlockTapped(const LockedTarget& target) {
    logger_->info("Unlock tapped for: " + target.appName);
    if (isAuthenticating_.get()) {
        logger_->warn("Already authenticating, ignoring tap");
        return;
    }
    isAuthenticating_.set(true);
    lastAuthError_.set(std::nullopt);
    logger_->info("Starting authentication...");
    // Which process this is, so that a late answer is never applied to a process that ended
    // meanwhile, nor to a new one that reuses its identifier.
    const auto app = workspace_->runningApplication(target.pid);
    const std::optional<std::uint64_t> startTime = app ? app->startTime : std::nullopt;
    runLoop_->post([weak = weak_from_this(), logger = logger_, target, startTime,
                    operation = LogOperation::current()] {
        auto self = weak.lock();
        if (!self) {
            logger->warn("Authentication callback: self is nil", operation);
            return;
        }
        self->authenticate(target, startTime, operation);
    });
}

void LockEngine::authenticate(const LockedTarget& target, std::optional<std::uint64_t> startTime,
                              const LogOperation& operation) {
    logger_->debug("Authentication: calling authManager.authenticate", operation);
    authManager_->authenticate(
        "Unlock " + target.appName, target.appName,
        ifAlive(weak_from_this(),
                [target, startTime, operation](LockEngine& self, const AuthResult& result) {
                    self.logger_->debug("Authentication: authManager returned result", operation);
                    self.isAuthenticating_.set(false);
                    if (!self.isSameProcess(target, startTime)) {
                        self.logger_->warn("Authentication answer for " + target.bundleId +
                                               " PID=" + std::to_string(target.pid) +
                                               " arrived after that process ended - ignoring it",
                                           operation);
                        return;
                    }
                    if (result.isSuccess()) {
                        self.logger_->info("Authentication succeeded", operation);
                        self.handleAuthSuccess(target);
                        return;
                    }
                    const AuthError& error = *result.error();
                    self.logger_->warn("Authentication failed: " + toString(error), operation);
                    self.handleAuthFailure(error, target.appName);
                }));
}

bool LockEngine::isSameProcess(const LockedTarget& target,
                               std::optional<std::uint64_t> startTime) const {
    const auto app = workspace_->runningApplication(target.pid);
    return app && app->bundleIdentifier == target.bundleId && app->startTime == startTime;
}

void LockEngine::handleAuthSuccess(const LockedTarget& target) {
    logger_->info("handleAuthSuccess ENTER for: " + target.appName);
    logger_->debug("handleAuthSuccess: calling delegate");
    const LockState& machineState = stateMachine_.currentState();
    const bool isCurrentTarget = !machineState.isIdle() &&
                                 machineState.target().bundleId == target.bundleId &&
                                 machineState.target().pid == target.pid;
    if (isCurrentTarget) {
        logger_->debug("handleAuthSuccess: sending unlockSucceeded to state machine");
        const LockTransitionResult result = stateMachine_.process(LockEvent::unlockSucceeded());
        logger_->debug("handleAuthSuccess: state machine returned, new state: " +
                       toString(result.newState));
    } else {
        rememberUnlockOutsideCurrentTarget(target, LogOperation::current());
    }

    const std::string& bundleId = target.bundleId;
    idle_->markUnlocked(bundleId);
    pidToBundleId_[target.pid] = bundleId;

    logger_->debug("handleAuthSuccess: hiding overlay for " + bundleId);
    hideOverlay(bundleId);
    // The unlocked process itself: bringing another process of the application forward would
    // lock that one and drop the unlock just granted.
    auto app = workspace_->runningApplication(target.pid);
    if (!app || app->bundleIdentifier != bundleId) {
        app = firstRunningApplication(bundleId);
    }
    if (app) {
        workspace_->activate(app->processIdentifier);
        logger_->debug("handleAuthSuccess: reactivated " + target.appName);
    }
    logger_->info("handleAuthSuccess EXIT");
}

void LockEngine::rememberUnlockOutsideCurrentTarget(const LockedTarget& target,
                                                    const LogOperation& operation) {
    // `unlockSucceeded` unlocks whatever the machine's current target is, which is not the
    // application the owner just authenticated for; so the unlock is remembered for this one
    // process directly (the caller made sure it still runs).
    const TimePoint expiresAt =
        timeProvider_->now() + toClockDuration(stateMachine_.configuration().unlockDuration);
    stateMachine_.unlockedApps()[UnlockKey{target.bundleId, target.pid}] = expiresAt;
    logger_->info("handleAuthSuccess: " + target.bundleId + " PID=" + std::to_string(target.pid) +
                      " is not the state machine's current target - remembering its unlock "
                      "without unlockSucceeded",
                  operation);
}

void LockEngine::handleAuthFailure(const AuthError& error, const std::string& name) {
    logger_->warn("handleAuthFailure: " + toString(error) + " for: " + name);
    lastAuthError_.set(error);
    if (error.kind() != AuthError::Kind::userCancelled &&
        error.kind() != AuthError::Kind::systemCancelled) {
        stateMachine_.process(LockEvent::unlockFailed());
    }
}

void LockEngine::handleCancelTapped(const std::string& bundleId, ProcessId pid) {
    logger_->info("Minimize tapped for: " + bundleId);
    hideOverlay(bundleId);
    // The covered process, not merely the first one of its application.
    auto app = workspace_->runningApplication(pid);
    if (!app || app->bundleIdentifier != bundleId) {
        app = firstRunningApplication(bundleId);
    }
    if (app) {
        logger_->debug("Minimizing app: " + app->localizedName.value_or(bundleId));
        workspace_->hide(app->processIdentifier);
        verifyHidden(app->processIdentifier, bundleId);
    }
    activatePreviousAppSilently();
    logger_->debug("App minimized, state remains locked for " + bundleId);
}

void LockEngine::minimizeApp(ProcessId pid, const std::string& bundleId) {
    auto app = workspace_->runningApplication(pid);
    if (!app) {
        app = firstRunningApplication(bundleId);
    }
    if (!app) {
        logger_->warn("Could not find app to minimize (PID: " + std::to_string(pid) +
                      ", bundleId: " + bundleId + ")");
        return;
    }
    logger_->debug("Minimizing app: " + app->localizedName.value_or(bundleId));
    const bool hidden = workspace_->hide(app->processIdentifier);
    logger_->debug(std::string("Hide result: ") + boolText(hidden));
    verifyHidden(app->processIdentifier, bundleId);
}

bool LockEngine::isPromptAgentOrFileManager(std::string_view bundleId) const {
    return systemAgents_.prompts.contains(bundleId) || systemAgents_.isFileManager(bundleId);
}

void LockEngine::activatePreviousAppSilently() {
    if (lastNonProtectedApp_ && !isPromptAgentOrFileManager(lastNonProtectedApp_->bundleId)) {
        const PreviousApp previous = *lastNonProtectedApp_;
        if (const auto app = workspace_->runningApplication(previous.pid);
            app && isOrdinary(*app)) {
            logger_->debug("Activating previous app: " +
                           app->localizedName.value_or(previous.bundleId));
            workspace_->activate(app->processIdentifier);
            return;
        }
        for (const auto& app : workspace_->runningApplications()) {
            if (app.bundleIdentifier == previous.bundleId && isOrdinary(app)) {
                logger_->debug("Activating previous app by bundleId: " +
                               app.localizedName.value_or(previous.bundleId));
                workspace_->activate(app.processIdentifier);
                return;
            }
        }
    }

    const LockState& state = currentState_.get();
    const std::optional<std::string> currentTarget =
        state.isIdle() ? std::nullopt : std::optional<std::string>(state.target().bundleId);
    for (const auto& app : workspace_->runningApplications()) {
        const std::string bundleId = app.bundleIdentifier.value_or("");
        if (!isOrdinary(app) || isPromptAgentOrFileManager(bundleId) || bundleId == currentTarget ||
            isOwnBundleId(bundleId) || appState_->isProtected(bundleId)) {
            continue;
        }
        logger_->debug("Activating fallback app: " + app.localizedName.value_or(bundleId));
        workspace_->activate(app.processIdentifier);
        return;
    }
    logger_->debug("No non-protected apps available, not activating anything");
}

} // namespace velmora
