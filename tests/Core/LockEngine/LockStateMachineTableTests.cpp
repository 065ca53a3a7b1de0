// Every cell of the transition table: state before x event -> result.

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

} // namespace
} // namespace velmora::testing
