#include "Core/LockEngine/LockStateMachine.hpp"

#include <utility>

namespace velmora {

using Reason = TransitionReason;

LockStateMachine::LockStateMachine(LockConfiguration configuration,
                                   std::shared_ptr<TimeProviding> timeProvider,
                                   std::shared_ptr<ProtectedAppChecking> protectedAppChecker)
    : configuration_(configuration), timeProvider_(std::move(timeProvider)),
      protectedAppChecker_(std::move(protectedAppChecker)) {}

LockTransitionResult LockStateMachine::process(const LockEvent& event) {
    LockTransitionResult result = transition(event);
    if (result.newState != currentState_.get()) {
        currentState_.set(result.newState);
    }
    transitionPublisher_.emit(result);
    return result;
}

void LockStateMachine::reset() {
    // Forget first, so that observers notified below already see a clean machine.
    lastFrontmostEventTime_.reset();
    lastFrontmostTarget_.reset();
    unlockedApps_.clear();
    currentState_.set(LockState::idle());
}

LockTransitionResult LockStateMachine::transition(const LockEvent& event) {
    const LockState& current = currentState_.get();
    switch (event.kind()) {
    case LockEvent::Kind::frontmostAppChanged:
        return frontmostAppChanged(event.target());
    case LockEvent::Kind::appIdleTimeout:
        return appIdleTimeout(event.bundleId());
    case LockEvent::Kind::nonProtectedAppActivated:
        return unchanged(Reason::noChange);
    case LockEvent::Kind::unlockSucceeded:
        return unlockSucceeded();
    case LockEvent::Kind::unlockFailed:
        return unchanged(current.isLocked() ? Reason::unlockDenied : Reason::noChange);
    case LockEvent::Kind::manualLock:
        return lockEverything(Reason::manualLock);
    case LockEvent::Kind::systemSleep:
        return lockEverything(Reason::systemSleep);
    case LockEvent::Kind::screenLocked:
        return lockEverything(Reason::screenLocked);
    }
    return unchanged(Reason::noChange);
}

LockTransitionResult LockStateMachine::frontmostAppChanged(const LockedTarget& target) {
    if (!protectedAppChecker_->isProtected(target.bundleId)) {
        // Unprotected applications leave the debounce memory and the unlocks alone.
        const Reason reason = currentState_.get().isIdle() ? Reason::noChange : Reason::appSwitched;
        return {LockState::idle(), false, reason};
    }
    const TimePoint now = timeProvider_->now();
    if (isDebounced(target, now)) {
        return unchanged(Reason::debounced);
    }
    lastFrontmostEventTime_ = now;
    lastFrontmostTarget_ = target;
    forgetStaleUnlocks(target, now);
    if (currentState_.get().isUnlocked()) {
        return frontmostWhileUnlocked(target, now);
    }
    return lockOrRestoreUnlock(target, now);
}

bool LockStateMachine::isDebounced(const LockedTarget& target, TimePoint now) const {
    // Another process of the same application is never swallowed: it holds no unlock of its
    // own, and a debounced event would leave it in front uncovered.
    if (!lastFrontmostEventTime_ || !lastFrontmostTarget_ ||
        lastFrontmostTarget_->bundleId != target.bundleId ||
        lastFrontmostTarget_->pid != target.pid) {
        return false;
    }
    // A clock set back must not turn the short debounce into a long blackout.
    const Seconds elapsed = now - *lastFrontmostEventTime_;
    return elapsed >= Seconds::zero() && elapsed < configuration_.debounceInterval;
}

void LockStateMachine::forgetStaleUnlocks(const LockedTarget& target, TimePoint now) {
    // One pass: expired entries, and other processes of the same application (a relaunched
    // application is locked again).
    std::erase_if(unlockedApps_, [&](const UnlockTable::value_type& entry) {
        return entry.second <= now ||
               (entry.first.pid != target.pid && entry.first.bundleId == target.bundleId);
    });
}

LockTransitionResult LockStateMachine::frontmostWhileUnlocked(const LockedTarget& target,
                                                              TimePoint now) {
    const LockedTarget& unlocked = currentState_.get().target();
    const std::optional<TimePoint>& expiry = currentState_.get().expiresAt();
    const bool sameApplication = unlocked.bundleId == target.bundleId;
    const bool sameProcess = sameApplication && unlocked.pid == target.pid;

    // Keep the unlock for when it returns; not for another process of the application now
    // in front, which the purge has just made the only one of its application.
    if (expiry && now < *expiry && (sameProcess || !sameApplication)) {
        unlockedApps_.insert_or_assign(keyFor(unlocked), *expiry);
    }
    if (!sameProcess) {
        return lockOrRestoreUnlock(target, now);
    }
    if (expiry && now >= *expiry) {
        unlockedApps_.erase(keyFor(target));
        return {LockState::locked(target), true, Reason::unlockExpired};
    }
    return unchanged(Reason::noChange);
}

LockTransitionResult LockStateMachine::lockOrRestoreUnlock(const LockedTarget& target,
                                                           TimePoint now) {
    const auto entry = unlockedApps_.find(keyFor(target));
    if (entry != unlockedApps_.end() && now < entry->second) {
        return {LockState::unlocked(target, entry->second), false, Reason::noChange};
    }
    return {LockState::locked(target), true, Reason::protectedAppActivated};
}

LockTransitionResult LockStateMachine::unlockSucceeded() {
    const LockState& current = currentState_.get();
    if (current.isIdle()) {
        return unchanged(Reason::noChange);
    }
    // Both locked and unlocked: a renewed unlock runs from now.
    const TimePoint expiry = timeProvider_->now() + toClockDuration(configuration_.unlockDuration);
    unlockedApps_.insert_or_assign(keyFor(current.target()), expiry);
    return {LockState::unlocked(current.target(), expiry), false, Reason::unlockGranted};
}

LockTransitionResult LockStateMachine::appIdleTimeout(const std::string& bundleId) {
    std::erase_if(unlockedApps_, [&](const UnlockTable::value_type& entry) {
        return entry.first.bundleId == bundleId;
    });
    const LockState& current = currentState_.get();
    if (!current.isIdle() && current.target().bundleId == bundleId) {
        return {LockState::locked(current.target()), false, Reason::idleTimeout};
    }
    return unchanged(Reason::noChange);
}

LockTransitionResult LockStateMachine::lockEverything(TransitionReason reason) {
    unlockedApps_.clear();
    const LockState& current = currentState_.get();
    if (current.isUnlocked()) {
        return {LockState::locked(current.target()), false, reason};
    }
    return unchanged(Reason::noChange);
}

LockTransitionResult LockStateMachine::unchanged(TransitionReason reason) const {
    return {currentState_.get(), false, reason};
}

const UnlockKey& LockStateMachine::keyFor(const LockedTarget& target) {
    lookupKey_.bundleId.assign(target.bundleId);
    lookupKey_.pid = target.pid;
    return lookupKey_;
}

} // namespace velmora
