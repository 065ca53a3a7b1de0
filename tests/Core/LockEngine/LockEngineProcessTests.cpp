#include "LockEngineFixture.hpp"

namespace velmora::testing {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

/// Two processes of Notes: the fixture's and a second one with a window of its own.
class LockEngineProcessTest : public LockEngineTest {
protected:
    ProcessId launchSecondNotes() {
        return desktop.launchApp(kNotes, "Notes", Rect{600, 300, 500, 400});
    }

    /// Whether Notes' overlay is on screen over `pid`.
    [[nodiscard]] bool covers(ProcessId pid) const {
        const auto target = engine->coveredTargets().find(kNotes);
        return overlay("Notes") && target != engine->coveredTargets().end() &&
               target->second.pid == pid;
    }

    /// The second process in front, locked and covered.
    ProcessId secondNotesCovered() {
        const ProcessId second = launchSecondNotes();
        desktop.activate(notes);
        settle();
        desktop.activate(second);
        EXPECT_TRUE(covers(second));
        return second;
    }
};

TEST_F(LockEngineProcessTest, AnotherProcessQuittingLeavesTheTargetInFrontCovered) {
    const ProcessId second = secondNotesCovered();
    desktop.workspace->quit(notes);
    settle();
    EXPECT_EQ(machineState(), LockState::locked({kNotes, second, "Notes"}));
    EXPECT_TRUE(covers(second));
}

TEST_F(LockEngineProcessTest, TheTargetQuittingCoversAProtectedProcessStillInFront) {
    const ProcessId second = launchSecondNotes();
    desktop.activate(notes);
    // The second process came forward without the system saying so.
    desktop.workspace->setFrontmostQuietly(second);
    desktop.workspace->postTerminationNotification(
        RunningApplication{.bundleIdentifier = kNotes, .processIdentifier = notes});
    desktop.loop->runUntilIdle();
    EXPECT_EQ(machineState(), LockState::locked({kNotes, second, "Notes"}));
    EXPECT_TRUE(covers(second));
}

TEST_F(LockEngineProcessTest, AStaleRetryChainNeverMovesTheOverlayOffTheProcessInFront) {
    const ProcessId windowless = desktop.launchApp(kNotes, "Notes");
    desktop.activate(windowless);
    desktop.loop->advance(Seconds{0.35});
    const ProcessId second = launchSecondNotes();
    desktop.activate(second);
    ASSERT_TRUE(covers(second));
    const Rect coveredFrame = overlay("Notes")->frame();

    desktop.windowServer->addWindow(windowless, 0, 0, 300, 200);
    CaptureStdout();
    desktop.loop->advance(Seconds{3});
    EXPECT_NE(
        GetCapturedStdout().find("[Brevane] Aborting overlay retry - target changed (attempt 1)"),
        std::string::npos);
    EXPECT_TRUE(covers(second));
    EXPECT_EQ(overlay("Notes")->frame(), coveredFrame);
}

TEST_F(LockEngineProcessTest, MinimizeHidesTheCoveredProcessOnly) {
    const ProcessId second = secondNotesCovered();
    ASSERT_TRUE(overlay("Notes")->pressMinimize());
    desktop.loop->runUntilIdle();
    EXPECT_TRUE(desktop.workspace->isHidden(second));
    EXPECT_FALSE(desktop.workspace->isHidden(notes));
}

TEST_F(LockEngineProcessTest, AnIdleTimeOutHidesTheProcessThatTimedOut) {
    const ProcessId second = secondNotesCovered();
    overlay("Notes")->pressUnlock();
    desktop.loop->runUntilIdle();
    answer(SimAuthenticator::Outcome::succeed());
    desktop.activate(editor);
    desktop.loop->advance(Seconds{301});
    EXPECT_TRUE(engine->isIdleLocked().at(kNotes));
    EXPECT_TRUE(desktop.workspace->isHidden(second));
    EXPECT_FALSE(desktop.workspace->isHidden(notes));
}

TEST_F(LockEngineProcessTest, QuickSwitchingNeverLeavesAProcessWithoutAnUnlockUncovered) {
    unlockNotes();
    const ProcessId second = launchSecondNotes();
    settle();
    for (int round = 0; round < 6; ++round) {
        desktop.activate(notes);
        desktop.loop->advance(Seconds{0.1});
        desktop.activate(second);
        EXPECT_TRUE(covers(second)) << "round " << round;
        desktop.loop->advance(Seconds{0.25});
    }
}

/// A prompt opened for Notes' process, answered only after that process is gone.
class LateAnswerTest : public LockEngineProcessTest,
                       public ::testing::WithParamInterface<bool /* same pid */> {};

TEST_P(LateAnswerTest, AnAnswerForAProcessThatEndedChangesNothing) {
    desktop.activate(notes);
    overlay("Notes")->pressUnlock();
    desktop.loop->runUntilIdle();
    desktop.windowServer->removeWindowsOf(notes);
    desktop.workspace->quit(notes);
    settle();
    const ProcessId next = desktop.workspace->launch({
        .bundleIdentifier = kNotes,
        .processIdentifier = GetParam() ? notes : 0,
        .localizedName = "Notes",
    });
    desktop.windowServer->addWindow(next, 100, 100, 800, 600);
    desktop.activate(next);
    ASSERT_TRUE(covers(next));

    answer(SimAuthenticator::Outcome::succeed());
    EXPECT_TRUE(covers(next));
    EXPECT_EQ(machineState(), LockState::locked({kNotes, next, "Notes"}));
    EXPECT_FALSE(engine->isAppUnlocked(kNotes));
    EXPECT_TRUE(engine->lastActiveTimePerApp().empty());
    EXPECT_TRUE(engine->pidToBundleId().empty());
    EXPECT_FALSE(engine->isIdleLocked().contains(kNotes));
    EXPECT_FALSE(engine->isAuthenticating().get());
}

INSTANTIATE_TEST_SUITE_P(NewOrReusedPid, LateAnswerTest, ::testing::Bool());

TEST_F(LockEngineTest, WithoutAGuardEveryProtectedProcessIsCoveredUnlockedOrNot) {
    unlockNotes();
    desktop.activate(editor);
    ASSERT_TRUE(engine->coverKeeper().placements().empty());
    engine->setCoverEveryProtectedProcess(true);
    EXPECT_EQ(engine->coverKeeper().placements().size(), 1u);
    EXPECT_TRUE(engine->isAppUnlocked(kNotes)) << "the unlock itself stays";
    engine->setCoverEveryProtectedProcess(false);
    EXPECT_TRUE(engine->coverKeeper().placements().empty());
}

} // namespace
} // namespace velmora::testing
