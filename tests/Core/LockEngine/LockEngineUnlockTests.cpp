#include "LockEngineFixture.hpp"

namespace velmora::testing {
namespace {

TEST_F(LockEngineTest, CancelledAuthenticationIsNotReportedButAFailureIs) {
    struct Case {
        LAErrorCode code;
        AuthError error;
        bool reportedAsFailure;
    };
    const std::vector<Case> cases{
        {LAErrorCode::userCancel, AuthError::userCancelled(), false},
        {LAErrorCode::systemCancel, AuthError::systemCancelled(), false},
        {LAErrorCode::authenticationFailed, AuthError::failed(), true},
        {LAErrorCode::passcodeNotSet, AuthError::notAvailable(), true},
    };
    desktop.activate(notes);
    for (const Case& c : cases) {
        const std::size_t logLines = logger->entries.size();
        overlay("Notes")->pressUnlock();
        desktop.loop->runUntilIdle();
        answer(SimAuthenticator::Outcome::fail(c.code));
        EXPECT_EQ(engine->lastAuthError().get(), c.error);
        EXPECT_FALSE(engine->isAuthenticating().get());
        const bool denied = std::any_of(
            logger->entries.begin() + static_cast<std::ptrdiff_t>(logLines), logger->entries.end(),
            [](const auto& e) { return e.message.ends_with("reason=unlockDenied"); });
        EXPECT_EQ(denied, c.reportedAsFailure) << toString(c.error);
        EXPECT_TRUE(logged("Authentication failed: " + toString(c.error), LogLevel::warn));
        EXPECT_TRUE(machineState().isLocked());
        ASSERT_NE(overlay("Notes"), nullptr);
    }
}

TEST_F(LockEngineTest, UnlockingOneCoveredAppNeverUnlocksAnother) {
    const ProcessId mail = protect(kMail, "Mail", Rect{900, 100, 400, 300});
    desktop.activate(notes);
    settle();
    desktop.activate(mail);
    ASSERT_NE(overlay("Mail"), nullptr);

    overlay("Notes")->pressUnlock();
    desktop.loop->runUntilIdle();
    answer(SimAuthenticator::Outcome::succeed());
    EXPECT_TRUE(remembersUnlock(kNotes, notes));
    EXPECT_FALSE(remembersUnlock(kMail, mail));
    EXPECT_EQ(overlay("Notes"), nullptr);
    EXPECT_NE(overlay("Mail"), nullptr);
    EXPECT_EQ(machineState().target().bundleId, kNotes);
    EXPECT_TRUE(machineState().isUnlocked());

    settle();
    desktop.activate(mail);
    EXPECT_EQ(machineState(), LockState::locked({kMail, mail, "Mail"}));
    EXPECT_NE(overlay("Mail"), nullptr);
}

TEST_F(LockEngineTest, UnlockingASecondProcessBringsThatProcessBackAndKeepsItsUnlock) {
    const ProcessId second = desktop.launchApp(kNotes, "Notes", Rect{300, 200, 500, 400});
    desktop.activate(second);
    ASSERT_NE(overlay("Notes"), nullptr);
    overlay("Notes")->pressUnlock();
    desktop.loop->runUntilIdle();
    answer(SimAuthenticator::Outcome::succeed());

    EXPECT_EQ(desktop.workspace->frontmostApplication()->processIdentifier, second);
    EXPECT_EQ(machineState().target().pid, second);
    EXPECT_TRUE(machineState().isUnlocked());
    EXPECT_TRUE(remembersUnlock(kNotes, second));
    EXPECT_EQ(overlay("Notes"), nullptr);
}

TEST_F(LockEngineTest, MinimizeHidesTheAppAndNeverReturnsToFinderOrAProtectedApp) {
    const ProcessId finder = desktop.launchApp("com.apple.finder", "Finder");
    protect(kMail, "Mail", Rect{900, 100, 400, 300});
    const ProcessId music = desktop.launchApp("com.example.music", "Music");
    desktop.activate(finder);
    desktop.workspace->quit(editor);
    desktop.loop->runUntilIdle();
    desktop.activate(notes);
    overlay("Notes")->pressMinimize();
    desktop.loop->runUntilIdle();
    EXPECT_TRUE(desktop.workspace->isHidden(notes));
    EXPECT_EQ(desktop.workspace->activationRequests().back(), music);
    EXPECT_TRUE(machineState().isLocked());
    EXPECT_TRUE(logged("Activating fallback app: Music", LogLevel::debug));
}

} // namespace
} // namespace velmora::testing
