#include "LockEngineFixture.hpp"

namespace velmora::testing {
namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

/// Two processes of Notes: the fixture's and a second one with a window of its own. The
/// other cases of two processes are in two-processes.scenario.
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
};

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

TEST_F(LockEngineTest, AQuitAppLosesItsUnlockEvenWhenOnlyItsPidIsReported) {
    unlockNotes();
    desktop.workspace->postTerminationNotification(RunningApplication{.processIdentifier = 4242});
    desktop.workspace->postTerminationNotification(RunningApplication{.processIdentifier = notes});
    desktop.loop->runUntilIdle();
    EXPECT_TRUE(logged("Protected app terminated: com.example.notes (PID: " +
                       std::to_string(notes) + ") - clearing ALL unlock state"));
    EXPECT_TRUE(machineState().isIdle());
    EXPECT_FALSE(remembersUnlock(kNotes, notes));
    EXPECT_FALSE(engine->isAppUnlocked(kNotes));
}

} // namespace
} // namespace velmora::testing
