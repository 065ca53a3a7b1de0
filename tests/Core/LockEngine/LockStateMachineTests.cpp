#include "Core/LockEngine/LockStateMachineHarness.hpp"

#include <functional>
#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

using Reason = TransitionReason;

struct TableHarness : Harness {
    TimePoint alphaExpiry;
    TimePoint betaExpiry;
};

using Setup = std::function<void(TableHarness&)>;
using Expected = std::function<LockTransitionResult(const TableHarness&)>;

struct Cell {
    std::string name;
    Setup setup;
    LockEvent event;
    Expected expected;
};

void PrintTo(const Cell& cell, std::ostream* out) {
    *out << cell.name;
}

// States to start from. "WithinDebounce" leaves the clock where alpha's frontmost event was
// counted; the others let the debounce interval pass.
const Setup idle = [](TableHarness&) {};
const Setup lockedAlpha = [](TableHarness& h) {
    h.front(alpha);
    h.advance(settle);
};
const Setup unlockedAlpha = [](TableHarness& h) {
    h.alphaExpiry = h.unlock(alpha);
    h.advance(settle);
};
const Setup idleWithinDebounce = [](TableHarness& h) {
    h.front(alpha);
    h.front(notes);
};
const Setup lockedWithinDebounce = [](TableHarness& h) { h.front(alpha); };
const Setup unlockedWithinDebounce = [](TableHarness& h) { h.alphaExpiry = h.unlock(alpha); };
const Setup idleRememberingAlpha = [](TableHarness& h) {
    unlockedAlpha(h);
    h.front(notes);
    h.advance(settle);
};
const Setup lockedBetaRememberingAlpha = [](TableHarness& h) {
    unlockedAlpha(h);
    h.front(beta);
    h.advance(settle);
};
const Setup unlockedBetaRememberingAlpha = [](TableHarness& h) {
    unlockedAlpha(h);
    h.betaExpiry = h.unlock(beta);
    h.advance(settle);
};
const Setup unlockedAlphaAtExpiry = [](TableHarness& h) {
    h.alphaExpiry = h.unlock(alpha);
    h.advance(unlockDuration);
};

Expected result(std::function<LockState(const TableHarness&)> state, bool auth, Reason reason) {
    return [=](const TableHarness& h) { return LockTransitionResult{state(h), auth, reason}; };
}
const auto isIdle = [](const TableHarness&) { return LockState::idle(); };
const auto isLocked = [](const LockedTarget& target) {
    return [target](const TableHarness&) { return LockState::locked(target); };
};
const auto isAlphaUntilItsExpiry = [](const TableHarness& h) {
    return LockState::unlocked(alpha, h.alphaExpiry);
};
const auto isUnlockedForAFullDuration = [](const LockedTarget& target) {
    return [target](const TableHarness& h) {
        return LockState::unlocked(target, h.now() + toClockDuration(unlockDuration));
    };
};

const LockEvent frontAlpha = LockEvent::frontmostAppChanged(alpha);
const LockEvent frontBeta = LockEvent::frontmostAppChanged(beta);
const LockEvent frontNotes = LockEvent::frontmostAppChanged(notes);

// Every cell of the transition table: state before x event -> result.
std::vector<Cell> cells() {
    std::vector<Cell> cells = {
        // Unprotected application in front.
        {"UnprotectedWhileIdle", idle, frontNotes, result(isIdle, false, Reason::noChange)},
        {"UnprotectedWhileLocked", lockedAlpha, frontNotes,
         result(isIdle, false, Reason::appSwitched)},
        {"UnprotectedWhileUnlocked", unlockedAlpha, frontNotes,
         result(isIdle, false, Reason::appSwitched)},
        // Protected, within the debounce interval of its last counted event.
        {"DebouncedWhileIdle", idleWithinDebounce, frontAlpha,
         result(isIdle, false, Reason::debounced)},
        {"DebouncedWhileLocked", lockedWithinDebounce, frontAlpha,
         result(isLocked(alpha), false, Reason::debounced)},
        {"DebouncedWhileUnlocked", unlockedWithinDebounce, frontAlpha,
         result(isAlphaUntilItsExpiry, false, Reason::debounced)},
        // Protected, with a valid remembered unlock.
        {"RememberedWhileIdle", idleRememberingAlpha, frontAlpha,
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
        {"RememberedWhileLockedOnOther", lockedBetaRememberingAlpha, frontAlpha,
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
        {"RememberedWhileUnlockedOnOther", unlockedBetaRememberingAlpha, frontAlpha,
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
        {"SameProcessWhileUnlocked", unlockedAlpha, frontAlpha,
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
        {"SameProcessAtExpiry", unlockedAlphaAtExpiry, frontAlpha,
         result(isLocked(alpha), true, Reason::unlockExpired)},
        // Protected, nothing remembered.
        {"ActivatedWhileIdle", idle, frontBeta,
         result(isLocked(beta), true, Reason::protectedAppActivated)},
        {"ActivatedWhileLocked", lockedAlpha, frontBeta,
         result(isLocked(beta), true, Reason::protectedAppActivated)},
        {"ActivatedWhileUnlocked", unlockedAlpha, frontBeta,
         result(isLocked(beta), true, Reason::protectedAppActivated)},
        // Authentication outcomes.
        {"UnlockSucceededWhileIdle", idle, LockEvent::unlockSucceeded(),
         result(isIdle, false, Reason::noChange)},
        {"UnlockSucceededWhileLocked", lockedAlpha, LockEvent::unlockSucceeded(),
         result(isUnlockedForAFullDuration(alpha), false, Reason::unlockGranted)},
        {"UnlockSucceededWhileUnlockedRenews", unlockedAlpha, LockEvent::unlockSucceeded(),
         result(isUnlockedForAFullDuration(alpha), false, Reason::unlockGranted)},
        {"UnlockFailedWhileIdle", idle, LockEvent::unlockFailed(),
         result(isIdle, false, Reason::noChange)},
        {"UnlockFailedWhileLocked", lockedAlpha, LockEvent::unlockFailed(),
         result(isLocked(alpha), false, Reason::unlockDenied)},
        {"UnlockFailedWhileUnlocked", unlockedAlpha, LockEvent::unlockFailed(),
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
        // An unprotected application in front while a protected one is locked.
        {"NonProtectedWhileIdle", idle, LockEvent::nonProtectedAppActivated(),
         result(isIdle, false, Reason::noChange)},
        {"NonProtectedWhileLocked", lockedAlpha, LockEvent::nonProtectedAppActivated(),
         result(isLocked(alpha), false, Reason::noChange)},
        {"NonProtectedWhileUnlocked", unlockedAlpha, LockEvent::nonProtectedAppActivated(),
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
        // Idle time-out of one application.
        {"IdleTimeoutWhileIdle", idle, LockEvent::appIdleTimeout(alpha.bundleId),
         result(isIdle, false, Reason::noChange)},
        {"IdleTimeoutOfCurrentWhileLocked", lockedAlpha, LockEvent::appIdleTimeout(alpha.bundleId),
         result(isLocked(alpha), false, Reason::idleTimeout)},
        {"IdleTimeoutOfOtherWhileLocked", lockedAlpha, LockEvent::appIdleTimeout(beta.bundleId),
         result(isLocked(alpha), false, Reason::noChange)},
        {"IdleTimeoutOfCurrentWhileUnlocked", unlockedAlpha,
         LockEvent::appIdleTimeout(alpha.bundleId),
         result(isLocked(alpha), false, Reason::idleTimeout)},
        {"IdleTimeoutOfOtherWhileUnlocked", unlockedAlpha, LockEvent::appIdleTimeout(beta.bundleId),
         result(isAlphaUntilItsExpiry, false, Reason::noChange)},
    };
    // Locking everything.
    const std::vector<std::pair<std::string, LockEvent>> lockAll = {
        {"ManualLock", LockEvent::manualLock()},
        {"SystemSleep", LockEvent::systemSleep()},
        {"ScreenLocked", LockEvent::screenLocked()},
    };
    const std::vector<Reason> lockAllReasons = {Reason::manualLock, Reason::systemSleep,
                                                Reason::screenLocked};
    for (std::size_t i = 0; i < lockAll.size(); ++i) {
        const auto& [name, event] = lockAll[i];
        cells.push_back({name + "WhileIdle", idle, event, result(isIdle, false, Reason::noChange)});
        cells.push_back({name + "WhileLocked", lockedAlpha, event,
                         result(isLocked(alpha), false, Reason::noChange)});
        cells.push_back({name + "WhileUnlocked", unlockedAlpha, event,
                         result(isLocked(alpha), false, lockAllReasons[i])});
    }
    return cells;
}

class LockStateMachineTable : public ::testing::TestWithParam<Cell> {};

TEST_P(LockStateMachineTable, ReturnsAssignsAndPublishesTheResultOfItsCell) {
    const Cell& cell = GetParam();
    TableHarness h;
    cell.setup(h);
    h.published.clear();
    const LockTransitionResult expected = cell.expected(h);

    const LockTransitionResult returned = h.machine.process(cell.event);

    EXPECT_EQ(returned, expected);
    EXPECT_EQ(h.published, std::vector<LockTransitionResult>{expected});
    EXPECT_EQ(h.machine.currentState(), expected.newState);
}

INSTANTIATE_TEST_SUITE_P(EveryCell, LockStateMachineTable, ::testing::ValuesIn(cells()),
                         [](const ::testing::TestParamInfo<Cell>& info) {
                             return info.param.name;
                         });

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
