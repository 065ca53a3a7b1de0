#include "Core/LockEngine/LockStateMachineHarness.hpp"

#include <functional>
#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

// What the owner sees of each state against each event is walked through in
// lock-states.scenario; relaunches and switches between processes in two-processes.scenario;
// idle relocks in idle-relock.scenario.
// Here: the reasons and prompts, the debounce, the clock, and events that only a stray or late
// answer brings.

using Reason = TransitionReason;

LockTransitionResult lockedAsking(const LockedTarget& target, Reason reason) {
    return {LockState::locked(target), true, reason};
}

TEST(LockStateMachine, EventsThatDoNotApplyToAStateChangeNothing) {
    const std::vector<std::pair<std::function<void(Harness&)>, std::vector<LockEvent>>> rows{
        {[](Harness&) {},
         {LockEvent::frontmostAppChanged(notes), LockEvent::unlockSucceeded(),
          LockEvent::unlockFailed(), LockEvent::nonProtectedAppActivated(),
          LockEvent::appIdleTimeout(alpha.bundleId), LockEvent::manualLock(),
          LockEvent::systemSleep(), LockEvent::screenLocked()}},
        {[](Harness& h) { h.front(alpha); },
         {LockEvent::nonProtectedAppActivated(), LockEvent::appIdleTimeout(beta.bundleId),
          LockEvent::manualLock(), LockEvent::systemSleep(), LockEvent::screenLocked()}},
        {[](Harness& h) { h.unlock(alpha); },
         {LockEvent::unlockFailed(), LockEvent::nonProtectedAppActivated(),
          LockEvent::appIdleTimeout(beta.bundleId)}},
    };
    for (const auto& [setup, events] : rows) {
        for (std::size_t i = 0; i < events.size(); ++i) {
            Harness h;
            setup(h);
            h.advance(settle);
            h.published.clear();
            const LockTransitionResult unchanged{h.machine.currentState(), false, Reason::noChange};
            SCOPED_TRACE(::testing::Message() << toString(unchanged.newState) << ", event " << i);

            EXPECT_EQ(h.machine.process(events[i]), unchanged);
            EXPECT_EQ(h.published, std::vector<LockTransitionResult>{unchanged});
            EXPECT_EQ(h.machine.currentState(), unchanged.newState);
        }
    }
}

TEST(LockStateMachineDebounce, SwallowsARepeatWithinTheIntervalOfTheLastCountedEventInAnyState) {
    Harness h;
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
    h.advance(Seconds{0.2});
    h.front(alpha);
    h.advance(Seconds{0.09}); // 0.29 s after the counted event
    EXPECT_EQ(h.front(alpha),
              (LockTransitionResult{LockState::locked(alpha), false, Reason::debounced}));
    h.advance(Seconds{0.01}); // 0.3 s: counts, although only 0.1 s after the last event
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
    EXPECT_EQ(h.front(notes),
              (LockTransitionResult{LockState::idle(), false, Reason::appSwitched}));
    EXPECT_EQ(h.front(alpha), (LockTransitionResult{LockState::idle(), false, Reason::debounced}));

    Harness unlocked;
    const TimePoint expiry = unlocked.unlock(alpha);
    EXPECT_EQ(unlocked.front(alpha),
              (LockTransitionResult{LockState::unlocked(alpha, expiry), false, Reason::debounced}));
    EXPECT_EQ(unlocked.front(notes).newState, LockState::idle());
}

TEST(LockStateMachineDebounce, AClockSetBackDoesNotSwallowFrontmostEvents) {
    Harness h;
    h.front(alpha);
    h.advance(Seconds{-3600});
    h.front(notes);

    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
    h.advance(Seconds{0.1});
    EXPECT_EQ(h.front(alpha).reason, Reason::debounced);
}

TEST(LockStateMachineExpiry, AnUnlockEndsExactlyAtItsExpiryAndIsForgotten) {
    for (const bool viaOtherApp : {false, true}) {
        // One tick of the system clock: a nanosecond on Linux, a microsecond on macOS.
        for (const TimePoint::duration offset : {TimePoint::duration{-1}, TimePoint::duration{0}}) {
            SCOPED_TRACE(::testing::Message() << "via other app " << viaOtherApp << ", offset "
                                              << offset.count() << " ticks");
            Harness h;
            const TimePoint expiry = h.unlock(alpha);
            if (viaOtherApp) {
                h.advance(settle);
                h.front(beta);
            }
            h.setNow(expiry + offset);
            const bool expired = offset == TimePoint::duration{0};
            const LockTransitionResult kept{LockState::unlocked(alpha, expiry), false,
                                            Reason::noChange};
            const Reason ended =
                viaOtherApp ? Reason::protectedAppActivated : Reason::unlockExpired;
            EXPECT_EQ(h.front(alpha), expired ? lockedAsking(alpha, ended) : kept);
            EXPECT_EQ(h.remembers(alpha), !expired);
        }
    }
}

TEST(LockStateMachineObservation, ObserversSeeRealChangesThePublisherSeesEveryResult) {
    Harness h;
    std::vector<LockState> observed;
    Subscription observing =
        h.machine.subscribeToState([&](const LockState& state) { observed.push_back(state); });
    std::vector<bool> assignedBeforePublishing;
    Subscription ordering =
        h.machine.transitionPublisher().connect([&](const LockTransitionResult& result) {
            assignedBeforePublishing.push_back(h.machine.currentState() == result.newState);
        });

    h.front(alpha);
    h.front(alpha); // debounced
    h.machine.process(LockEvent::unlockFailed());
    h.machine.process(LockEvent::nonProtectedAppActivated());
    const TimePoint expiry = h.unlock(alpha); // debounced, then granted
    h.machine.process(LockEvent::unlockFailed());
    h.machine.process(LockEvent::manualLock());
    h.machine.process(LockEvent::manualLock());

    EXPECT_EQ(observed, (std::vector<LockState>{LockState::idle(), LockState::locked(alpha),
                                                LockState::unlocked(alpha, expiry),
                                                LockState::locked(alpha)}));
    EXPECT_EQ(h.published.size(), 9u);
    EXPECT_EQ(assignedBeforePublishing, std::vector<bool>(9, true));
}

TEST(LockStateMachineObservation, ResetForgetsEverythingAndNotifiesObserversButPublishesNothing) {
    Harness h;
    h.unlock(alpha);
    std::vector<LockState> observed;
    Subscription observing = h.machine.subscribeToState(
        [&](const LockState& state) { observed.push_back(state); }); // replays the current state
    h.published.clear();

    h.machine.reset();
    h.machine.reset();

    EXPECT_EQ(observed.size(), 3u);
    EXPECT_EQ(observed.back(), LockState::idle());
    EXPECT_TRUE(h.published.empty());
    EXPECT_TRUE(h.machine.unlockedApps().empty());
    // No debounce memory and no unlock left: alpha at once asks again.
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
}

} // namespace
} // namespace velmora::testing
