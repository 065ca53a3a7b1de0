#include "Core/LockEngine/LockStateMachineHarness.hpp"

#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

using Reason = TransitionReason;

LockTransitionResult lockedAsking(const LockedTarget& target, Reason reason) {
    return {LockState::locked(target), true, reason};
}

TEST(LockStateMachineDebounce, CountsFromTheIntervalOnAndMeasuresABurstFromItsFirstEvent) {
    Harness h;
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));

    h.advance(Seconds{0.2});
    h.front(alpha);
    h.advance(Seconds{0.09}); // 0.29 s after the counted event
    EXPECT_EQ(h.front(alpha),
              (LockTransitionResult{LockState::locked(alpha), false, Reason::debounced}));
    h.advance(Seconds{0.01}); // 0.3 s: counts, although only 0.1 s after the last event
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
    h.advance(Seconds{0.29});
    EXPECT_EQ(h.front(alpha).reason, Reason::debounced);
}

TEST(LockStateMachineDebounce, ComparesTheProcessAndOnlyWithTheLastCountedProtectedEvent) {
    Harness h;
    h.unlock(alpha);
    h.advance(Seconds{0.1});
    // Another process of the application holds no unlock: swallowing it would leave it in
    // front uncovered.
    const LockedTarget relaunched{alpha.bundleId, 101, "Alpha Relaunched"};
    EXPECT_EQ(h.front(relaunched), lockedAsking(relaunched, Reason::protectedAppActivated));
    h.advance(Seconds{0.1});
    EXPECT_EQ(h.front(relaunched).reason, Reason::debounced);

    // Another protected application counts and takes the memory over.
    EXPECT_EQ(h.front(beta), lockedAsking(beta, Reason::protectedAppActivated));
    h.advance(Seconds{0.1});
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
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

TEST(LockStateMachineUnlocks, SwitchingBetweenUnlockedAppsKeepsEachExpiryWithoutAuthentication) {
    Harness h;
    const TimePoint alphaExpiry = h.unlock(alpha);
    h.advance(Seconds{60});
    const TimePoint betaExpiry = h.unlock(beta);
    h.published.clear();

    for (int round = 0; round < 3; ++round) {
        h.advance(settle);
        EXPECT_EQ(h.front(alpha), (LockTransitionResult{LockState::unlocked(alpha, alphaExpiry),
                                                        false, Reason::noChange}));
        h.advance(settle);
        EXPECT_EQ(h.front(beta), (LockTransitionResult{LockState::unlocked(beta, betaExpiry), false,
                                                       Reason::noChange}));
    }
    EXPECT_EQ(h.published.size(), 6u);
}

TEST(LockStateMachineUnlocks, ARelaunchedAppIsLockedAndTheOldProcessUnlockForgotten) {
    const LockedTarget relaunched{alpha.bundleId, 101, alpha.appName};
    for (const bool viaOtherApp : {true, false}) {
        SCOPED_TRACE(viaOtherApp ? "via another app" : "straight from the unlocked one");
        Harness h;
        h.unlock(alpha);
        if (viaOtherApp) {
            h.advance(settle);
            h.front(beta);
        }
        h.advance(settle);

        EXPECT_EQ(h.front(relaunched), lockedAsking(relaunched, Reason::protectedAppActivated));
        EXPECT_FALSE(h.remembers(alpha));
        // At most one process of an application keeps an unlock: the old one asks again.
        h.advance(settle);
        EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
    }
}

TEST(LockStateMachineUnlocks, LockingEverythingForgetsEveryUnlockEvenWhenTheStateStays) {
    for (const LockEvent& event :
         {LockEvent::manualLock(), LockEvent::systemSleep(), LockEvent::screenLocked()}) {
        Harness h;
        h.unlock(alpha);
        h.advance(settle);
        h.front(beta);

        EXPECT_EQ(h.machine.process(event),
                  (LockTransitionResult{LockState::locked(beta), false, Reason::noChange}));
        EXPECT_TRUE(h.machine.unlockedApps().empty());
        h.advance(settle);
        EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));
    }
}

TEST(LockStateMachineUnlocks, IdleTimeoutOfAnotherAppForgetsAllItsProcessesOnly) {
    Harness h;
    h.unlock(alpha);
    h.advance(settle);
    const TimePoint betaExpiry = h.unlock(beta);
    const LockedTarget secondAlpha{alpha.bundleId, 101, alpha.appName};
    h.machine.unlockedApps()[UnlockKey{secondAlpha.bundleId, secondAlpha.pid}] = betaExpiry;

    EXPECT_EQ(
        h.machine.process(LockEvent::appIdleTimeout(alpha.bundleId)),
        (LockTransitionResult{LockState::unlocked(beta, betaExpiry), false, Reason::noChange}));
    EXPECT_FALSE(h.remembers(alpha));
    EXPECT_FALSE(h.remembers(secondAlpha));
    EXPECT_TRUE(h.remembers(beta));
}

TEST(LockStateMachineProtection, TheCheckerAloneDecidesAtTheMomentOfTheEvent) {
    Harness h;
    h.checker->bundleIds.erase(alpha.bundleId);
    EXPECT_EQ(h.front(alpha), (LockTransitionResult{LockState::idle(), false, Reason::noChange}));

    h.checker->bundleIds.insert(alpha.bundleId);
    EXPECT_EQ(h.front(alpha), lockedAsking(alpha, Reason::protectedAppActivated));

    h.checker->bundleIds.erase(alpha.bundleId);
    EXPECT_EQ(h.front(alpha).reason, Reason::appSwitched);
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
