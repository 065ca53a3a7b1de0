#include "LockEngineFixture.hpp"

namespace velmora::testing {
namespace {

// The other cases of two processes of one application are in two-processes.scenario.
TEST_F(LockEngineTest, TheTargetQuittingCoversAProtectedProcessStillInFront) {
    const ProcessId second = desktop.launchApp(kNotes, "Notes", Rect{600, 300, 500, 400});
    desktop.activate(notes);
    // The second process came forward without the system saying so.
    desktop.workspace->setFrontmostQuietly(second);
    desktop.workspace->postTerminationNotification(
        RunningApplication{.bundleIdentifier = kNotes, .processIdentifier = notes});
    desktop.loop->runUntilIdle();
    EXPECT_EQ(machineState(), LockState::locked({kNotes, second, "Notes"}));
    ASSERT_NE(overlay("Notes"), nullptr);
    EXPECT_EQ(engine->coveredTargets().at(kNotes).pid, second);
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
    EXPECT_TRUE(machineState().isIdle());
    EXPECT_FALSE(engine->isAppUnlocked(kNotes));
}

} // namespace
} // namespace velmora::testing
