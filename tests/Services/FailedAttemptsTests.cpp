#include "Core/LockEngine/LockStateMachineHarness.hpp"
#include "Platform/Sim/SimAuthenticator.hpp"
#include "Platform/Sim/SimStateStore.hpp"
#include "Services/AuthManager.hpp"
#include "Services/FailedAttempts.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(FailedAttemptsSchedule, ThreeFailuresInARowThenLongerAndLongerWaits) {
    const std::pair<int, double> waits[] = {{0, 0},  {1, 0},   {2, 0},   {3, 30},
                                            {4, 60}, {5, 300}, {6, 900}, {40, 900}};
    for (const auto& [failures, seconds] : waits) {
        EXPECT_EQ(FailedAttempts::waitAfter(failures), Seconds{seconds}) << failures;
    }
    const std::pair<int, const char*> texts[] = {
        {30, "30 s"}, {59, "59 s"}, {60, "1 min"}, {61, "2 min"}, {900, "15 min"}};
    for (const auto& [seconds, text] : texts) {
        EXPECT_EQ(FailedAttempts::waitText(seconds), std::string("Try again in ") + text);
    }
}

class FailedAttemptsTest : public ::testing::Test {
protected:
    std::shared_ptr<FailedAttempts> start() {
        return FailedAttempts::create({store, loop, loop, logger});
    }

    /// One prompt through an AuthManager that records into `attempts`, answered with
    /// `outcome` when a prompt is shown at all.
    std::optional<AuthResult> prompt(const std::shared_ptr<FailedAttempts>& attempts,
                                     SimAuthenticator::Outcome outcome) {
        const auto owner = std::make_shared<SimAuthenticator>();
        AuthManager auth(loop, makeContextFactory(owner), attempts);
        std::optional<AuthResult> result;
        owner->queueOutcome(std::move(outcome));
        auth.authenticate("Unlock Mail", "Mail", [&](AuthResult r) { result = r; });
        loop->runUntilIdle();
        prompts += owner->promptCount();
        return result;
    }

    std::shared_ptr<SimStateStore> store = std::make_shared<SimStateStore>();
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<testing::RecordingLogger> logger = std::make_shared<testing::RecordingLogger>();
    std::size_t prompts = 0;
};

TEST_F(FailedAttemptsTest, AWaitCountsDownOnVirtualTimeRefusesPromptsAndSurvivesARestart) {
    auto attempts = start();
    const auto wrong = SimAuthenticator::Outcome::fail(LAErrorCode::authenticationFailed);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(prompt(attempts, wrong), AuthResult::failure(AuthError::failed()));
    }
    EXPECT_EQ(attempts->secondsToWait().get(), 30);
    loop->advance(Seconds{10});
    EXPECT_EQ(attempts->secondsToWait().get(), 20);

    // Refused without a prompt while the wait lasts; a cancelled one counts for nothing.
    EXPECT_EQ(
        prompt(attempts, SimAuthenticator::Outcome::succeed()),
        AuthResult::failure(AuthError::unknown("Too many failed attempts. Try again in 20 s")));
    EXPECT_EQ(prompts, 3u);

    attempts = start();
    EXPECT_EQ(attempts->secondsToWait().get(), 20);
    loop->advance(Seconds{20});
    EXPECT_EQ(attempts->secondsToWait().get(), std::nullopt);
    prompt(attempts, SimAuthenticator::Outcome::fail(LAErrorCode::userCancel));
    EXPECT_EQ(attempts->secondsToWait().get(), std::nullopt);
    prompt(attempts, wrong);
    EXPECT_EQ(attempts->secondsToWait().get(), 60);

    loop->advance(Seconds{60});
    EXPECT_EQ(prompt(attempts, SimAuthenticator::Outcome::succeed()), AuthResult::success());
    EXPECT_EQ(attempts->failuresInARow(), 0);
    prompt(attempts, wrong);
    EXPECT_EQ(attempts->secondsToWait().get(), std::nullopt) << "a success starts afresh";
}

TEST_F(FailedAttemptsTest, AClockSetBackNeverLengthensTheWait) {
    const auto clock = std::make_shared<testing::SettableClock>();
    const auto attempts = FailedAttempts::create({store, loop, clock, logger});
    for (int i = 0; i < 3; ++i) {
        attempts->recordFailure("Mail");
    }
    clock->advance(Seconds{-3600});
    loop->advance(Seconds{1});
    EXPECT_EQ(attempts->secondsToWait().get(), 30);
}

TEST_F(FailedAttemptsTest, FailuresStayOnRecordUntilDismissed) {
    auto attempts = start();
    attempts->recordFailure("Mail");
    loop->advance(Seconds{5});
    attempts->recordFailure("Notes");
    attempts->recordSuccess();
    const std::vector<FailedAttempts::Attempt> expected{
        {loop->now() - toClockDuration(Seconds{5}), "Mail"}, {loop->now(), "Notes"}};
    EXPECT_EQ(start()->undismissed().get(), expected);

    attempts->dismiss();
    EXPECT_TRUE(start()->undismissed().get().empty());
    EXPECT_EQ(start()->failuresInARow(), 0);
}

} // namespace
} // namespace velmora
