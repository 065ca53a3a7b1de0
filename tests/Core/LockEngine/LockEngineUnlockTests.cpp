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
        EXPECT_TRUE(machineState().isLocked());
        ASSERT_NE(overlay("Notes"), nullptr);
    }
}

} // namespace
} // namespace velmora::testing
