#pragma once

#include "Core/LockEngine/LockStateMachine.hpp"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora::testing {

/// A clock that moves only when told to, backwards too.
class SettableClock final : public TimeProviding {
public:
    [[nodiscard]] TimePoint now() const override { return now_; }
    void advance(Seconds duration) { now_ += toClockDuration(duration); }
    void set(TimePoint now) { now_ = now; }

private:
    // 2025-01-01T00:00:00Z
    TimePoint now_{std::chrono::seconds{1735689600}};
};

class SetProtectedAppChecker final : public ProtectedAppChecking {
public:
    explicit SetProtectedAppChecker(std::set<std::string> bundleIds)
        : bundleIds(std::move(bundleIds)) {}
    [[nodiscard]] bool isProtected(const std::string& bundleId) const override {
        return bundleIds.contains(bundleId);
    }
    std::set<std::string> bundleIds;
};

inline const LockedTarget alpha{"com.example.Alpha", 100, "Alpha"};
inline const LockedTarget beta{"com.example.Beta", 200, "Beta"};
inline const LockedTarget notes{"com.example.Notes", 300, "Notes"}; // never protected

/// Longer than the debounce interval, far shorter than an unlock.
inline constexpr Seconds settle{1};

/// A machine over a settable clock, protecting alpha and beta, recording what it publishes.
struct Harness {
    std::shared_ptr<SettableClock> clock = std::make_shared<SettableClock>();
    std::shared_ptr<SetProtectedAppChecker> checker = std::make_shared<SetProtectedAppChecker>(
        std::set<std::string>{alpha.bundleId, beta.bundleId});
    LockStateMachine machine{LockConfiguration{}, clock, checker};
    std::vector<LockTransitionResult> published;
    Subscription recording = machine.transitionPublisher().connect(
        [this](const LockTransitionResult& result) { published.push_back(result); });

    LockTransitionResult front(const LockedTarget& target) {
        return machine.process(LockEvent::frontmostAppChanged(target));
    }
    /// Brings `target` to the front and unlocks it; returns the expiry.
    TimePoint unlock(const LockedTarget& target) {
        front(target);
        return *machine.process(LockEvent::unlockSucceeded()).newState.expiresAt();
    }
    void advance(Seconds duration) { clock->advance(duration); }
    void setNow(TimePoint now) { clock->set(now); }
    [[nodiscard]] TimePoint now() const { return clock->now(); }
    [[nodiscard]] bool remembers(const LockedTarget& target) const {
        return machine.unlockedApps().contains(UnlockKey{target.bundleId, target.pid});
    }
};

} // namespace velmora::testing
