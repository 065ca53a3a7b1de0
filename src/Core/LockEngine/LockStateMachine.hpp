#pragma once

#include "Core/LockEngine/LockTypes.hpp"
#include "Support/Observable.hpp"
#include "Support/Signal.hpp"
#include "Support/Subscription.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>

namespace velmora {

/// Decides, from what happened on the desktop, whether a protected application is locked,
/// unlocked or not involved, and remembers unlocks per process.
///
///     LockStateMachine machine(LockConfiguration{}, clock, checker);
///     Subscription results = machine.transitionPublisher().connect(
///         [](const LockTransitionResult& r) { if (r.shouldRequestAuth) showOverlay(r); });
///     machine.process(LockEvent::frontmostAppChanged({"com.example.App", 100, "Example"}));
///     machine.process(LockEvent::unlockSucceeded());  // unlocked for 24 hours
///
/// Main thread only. `process` assigns the state only when it changes, then publishes the
/// result (every result, including `noChange` and `debounced`), then returns it.
class LockStateMachine {
public:
    using UnlockTable = std::unordered_map<UnlockKey, TimePoint>;

    LockStateMachine(LockConfiguration configuration, std::shared_ptr<TimeProviding> timeProvider,
                     std::shared_ptr<ProtectedAppChecking> protectedAppChecker);
    LockStateMachine(const LockStateMachine&) = delete;
    LockStateMachine& operator=(const LockStateMachine&) = delete;

    LockTransitionResult process(const LockEvent& event);

    /// Back to the initial condition: idle, no debounce memory, no remembered unlocks.
    /// Notifies state observers even when already idle; publishes no transition.
    void reset();

    [[nodiscard]] const LockState& currentState() const { return currentState_.get(); }

    /// Delivers the current state at once, then every assignment.
    [[nodiscard]] Subscription subscribeToState(std::function<void(const LockState&)> observer) {
        return currentState_.subscribe(std::move(observer));
    }

    /// Every result of `process`, in order; no replay.
    [[nodiscard]] Signal<const LockTransitionResult&>& transitionPublisher() {
        return transitionPublisher_;
    }

    /// Remembered unlocks: a process is unlocked while now is before its expiry. The engine
    /// removes the entries of a terminated application here directly.
    [[nodiscard]] UnlockTable& unlockedApps() { return unlockedApps_; }
    [[nodiscard]] const UnlockTable& unlockedApps() const { return unlockedApps_; }

    [[nodiscard]] const LockConfiguration& configuration() const { return configuration_; }

private:
    LockTransitionResult transition(const LockEvent& event);
    LockTransitionResult frontmostAppChanged(const LockedTarget& target);
    LockTransitionResult frontmostWhileUnlocked(const LockedTarget& target, TimePoint now);
    LockTransitionResult lockOrRestoreUnlock(const LockedTarget& target, TimePoint now);
    LockTransitionResult unlockSucceeded();
    LockTransitionResult appIdleTimeout(const std::string& bundleId);
    LockTransitionResult lockEverything(TransitionReason reason);
    LockTransitionResult unchanged(TransitionReason reason) const;

    [[nodiscard]] bool isDebounced(const LockedTarget& target, TimePoint now) const;
    void forgetStaleUnlocks(const LockedTarget& target, TimePoint now);
    const UnlockKey& keyFor(const LockedTarget& target);

    LockConfiguration configuration_;
    std::shared_ptr<TimeProviding> timeProvider_;
    std::shared_ptr<ProtectedAppChecking> protectedAppChecker_;

    Observable<LockState> currentState_{LockState::idle()};
    std::optional<TimePoint> lastFrontmostEventTime_;
    std::optional<LockedTarget> lastFrontmostTarget_;
    UnlockTable unlockedApps_;
    Signal<const LockTransitionResult&> transitionPublisher_;

    // Reused for table look-ups so that the hot path does not allocate a key per event.
    UnlockKey lookupKey_;
};

} // namespace velmora
