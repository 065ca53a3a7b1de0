#include "Core/LockEngine/LockEngine.hpp"

namespace velmora {

void LockEngine::setupSystemEventObservers() {
    if (systemSleepObserver_) {
        logger_->debug("setupSystemEventObservers: already set up, skipping");
        return;
    }
    // Each handler moves its work into a main-queue task of its own.
    const auto lockEventHandler = [this](LockEvent event) {
        return [weak = weak_from_this(), runLoop = runLoop_, event] {
            runLoop->post(
                ifAlive(weak, [event](LockEngine& self) { self.handleSystemLockEvent(event); }));
        };
    };
    systemSleepObserver_ = workspace_->observeWillSleep(lockEventHandler(LockEvent::systemSleep()));
    screenSleepObserver_ =
        workspace_->observeScreensDidSleep(lockEventHandler(LockEvent::screenLocked()));
    if (distributedNotifications_) {
        screenLockObserver_ = distributedNotifications_->addObserver(
            session_events::screenLocked, lockEventHandler(LockEvent::screenLocked()));
    }
    appTerminationObserver_ = workspace_->observeDidTerminateApplication(
        onMainQueue<std::optional<RunningApplication>>(&LockEngine::handleTerminationNotification));
    logger_->info("System event observers set up");
}

void LockEngine::handleSystemLockEvent(const LockEvent& event) {
    idle_->clear();
    const LockTransitionResult result = stateMachine_.process(event);
    handleStateTransition(result);
}

void LockEngine::handleTerminationNotification(const std::optional<RunningApplication>& app) {
    if (!app) {
        return;
    }
    const ProcessId pid = app->processIdentifier;
    std::string bundleId;
    if (app->bundleIdentifier) {
        bundleId = *app->bundleIdentifier;
    } else if (const auto known = pidToBundleId_.find(pid); known != pidToBundleId_.end()) {
        bundleId = known->second;
    } else {
        return;
    }
    handleAppTerminated(bundleId, pid);
}

void LockEngine::handleAppTerminated(const std::string& bundleId, ProcessId pid) {
    if (!appState_->isProtected(bundleId)) {
        return;
    }
    logger_->info("Protected app terminated: " + bundleId + " (PID: " + std::to_string(pid) +
                  ") - clearing ALL unlock state");
    pidToBundleId_.erase(pid);
    idle_->forget(bundleId);
    std::erase_if(stateMachine_.unlockedApps(),
                  [&](const auto& entry) { return entry.first.bundleId == bundleId; });
    // Another process of the application may still be covered; only the ended one's
    // overlay goes.
    const auto covered = coveredTargets_.find(bundleId);
    if (covered == coveredTargets_.end() || covered->second.pid == pid) {
        hideOverlay(bundleId);
    }
    const LockState& state = currentState_.get();
    if (!state.isIdle() && state.target().bundleId == bundleId && state.target().pid == pid) {
        logger_->info("Resetting state machine to idle (terminated app was current target)");
        stateMachine_.reset();
        // The process now in front may be another one of a protected application.
        post([operation = LogOperation::current(), pid](LockEngine& engine) {
            engine.coverFrontmostIfLocked(pid, operation);
        });
    }
    // The application's other processes lost their unlocks with this one.
    refreshCovers();
}

void LockEngine::lockAllNow() {
    logger_->info("lockAllNow() called");
    idle_->clear();
    const LockState& state = currentState_.get();
    if (state.isIdle()) {
        logger_->debug("lockAllNow: no current target");
        return;
    }
    const LockedTarget target = state.target();
    const LockTransitionResult result = stateMachine_.process(LockEvent::manualLock());
    logger_->debug("lockAllNow: state machine returned newState=" + toString(result.newState));
    if (!result.newState.isLocked()) {
        return;
    }
    logger_->info("lockAllNow: minimizing " + target.appName);
    minimizeApp(target.pid, target.bundleId);
    if (isSelfFrontmost()) {
        logger_->debug("lockAllNow: Brevane is frontmost, not switching apps");
    } else {
        activatePreviousAppSilently();
    }
}

void LockEngine::lockApp(const std::string& bundleId) {
    logger_->info("lockApp(" + bundleId + ") called");
    idle_->markLockedByHand(bundleId);
    // The mirror still shows the state before this event.
    const LockState stateBefore = currentState_.get();
    const LockTransitionResult result = stateMachine_.process(LockEvent::appIdleTimeout(bundleId));
    logger_->debug("lockApp: state machine returned newState=" + toString(result.newState));
    if (stateBefore.isIdle() || stateBefore.target().bundleId != bundleId) {
        return;
    }
    const LockedTarget& target = stateBefore.target();
    logger_->info("lockApp: minimizing " + target.appName);
    minimizeApp(target.pid, target.bundleId);
    if (!isSelfFrontmost()) {
        activatePreviousAppSilently();
    }
}

} // namespace velmora
