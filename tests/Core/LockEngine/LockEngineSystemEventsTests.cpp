#include "LockEngineFixture.hpp"

#include <functional>

namespace velmora::testing {
namespace {

TEST_F(LockEngineTest, SleepDisplaySleepAndScreenLockForgetEveryUnlock) {
    const std::vector<std::pair<std::function<void()>, std::string>> events{
        {[&] { desktop.workspace->postWillSleep(); }, "systemSleep"},
        {[&] { desktop.workspace->postScreensDidSleep(); }, "screenLocked"},
        {[&] { desktop.distributedNotifications->post(session_events::screenLocked); },
         "screenLocked"},
    };
    for (const auto& [post, reason] : events) {
        unlockNotes();
        const auto prompts = desktop.authenticator->promptCount();
        post();
        desktop.loop->runUntilIdle();
        EXPECT_EQ(machineState(), LockState::locked({kNotes, notes, "Notes"})) << reason;
        EXPECT_TRUE(logged("handleStateTransition ENTER: newState=" + toString(machineState()) +
                           ", shouldRequestAuth=false, reason=" + reason));
        EXPECT_TRUE(engine->stateMachine().unlockedApps().empty());
        EXPECT_TRUE(engine->idleTracker().lastActiveTimePerApp().empty());
        EXPECT_FALSE(engine->idleTracker().hasGlobalIdleTimer());
        // Still in front when the displays wake: covered at once, not left usable.
        ASSERT_NE(overlay("Notes"), nullptr) << reason;
        EXPECT_TRUE(overlay("Notes")->isVisible()) << reason;
        EXPECT_EQ(desktop.authenticator->promptCount(), prompts) << reason;

        desktop.activate(editor);
        settle();
        desktop.activate(notes);
        EXPECT_NE(overlay("Notes"), nullptr) << reason;
        desktop.activate(editor);
        settle();
    }
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

TEST_F(LockEngineTest, AnAppQuittingBehindAnotherTargetLosesItsUnlockForAProcessReusingItsPid) {
    unlockNotes();
    const ProcessId mail = protect(kMail, "Mail", Rect{0, 0, 300, 200});
    settle();
    desktop.activate(mail);
    ASSERT_TRUE(remembersUnlock(kNotes, notes));
    desktop.windowServer->removeWindowsOf(notes);
    desktop.workspace->quit(notes);
    settle();
    EXPECT_EQ(machineState().target().bundleId, kMail);
    EXPECT_FALSE(remembersUnlock(kNotes, notes));

    desktop.workspace->launch(
        {.bundleIdentifier = kNotes, .processIdentifier = notes, .localizedName = "Notes"});
    desktop.windowServer->addWindow(notes, 100, 100, 800, 600);
    desktop.activate(notes);
    EXPECT_EQ(machineState(), LockState::locked({kNotes, notes, "Notes"}));
    EXPECT_NE(overlay("Notes"), nullptr);
}

} // namespace
} // namespace velmora::testing
