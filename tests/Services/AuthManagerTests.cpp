#include "Platform/Sim/SimAuthenticator.hpp"
#include "Services/AuthManager.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using Outcome = SimAuthenticator::Outcome;

struct AuthManagerTest : ::testing::Test {
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<SimAuthenticator> owner = std::make_shared<SimAuthenticator>();
    AuthManager auth{loop, makeContextFactory(owner)};
    std::vector<AuthResult> results;

    void request(const std::string& reason = "Quit Velmora") {
        auth.authenticate(reason, [this](AuthResult result) { results.push_back(result); });
    }

    /// The single outcome of one request answered with `outcome`.
    AuthResult outcomeOf(Outcome outcome) {
        results.clear();
        owner->queueOutcome(std::move(outcome));
        request();
        loop->runUntilIdle();
        EXPECT_EQ(results.size(), 1u);
        return results.empty() ? AuthResult::success() : results.back();
    }
};

TEST_F(AuthManagerTest, EverySystemErrorCodeMapsToItsCase) {
    const std::vector<std::pair<std::vector<int>, AuthError>> rows{
        {{-1}, AuthError::failed()},
        {{-2, -3, -9}, AuthError::userCancelled()},
        {{-4, -10, -1004}, AuthError::systemCancelled()},
        {{-5, -6, -7, -8, -11, -12, -13, -14}, AuthError::notAvailable()},
        {{-1000, 0}, AuthError::unknown("Something odd")},
    };
    for (const auto& [codes, expected] : rows) {
        for (const int code : codes) {
            const OwnerAuthenticationError error{std::string(kLAErrorDomain), code,
                                                 "Something odd"};
            EXPECT_EQ(outcomeOf(Outcome::fail(error)), AuthResult::failure(expected)) << code;
        }
    }
}

TEST_F(AuthManagerTest, OnlyAnExplicitSuccessSucceeds) {
    EXPECT_EQ(outcomeOf(Outcome::succeed()), AuthResult::success());
    // Same number as "user cancel", but not an owner-authentication error.
    EXPECT_EQ(outcomeOf(Outcome::fail({"NSOSStatusErrorDomain", -2, "Not completed."})),
              AuthResult::failure(AuthError::unknown("Not completed.")));
    EXPECT_EQ(outcomeOf(Outcome{false, std::nullopt}), AuthResult::failure(AuthError::failed()));
    EXPECT_EQ(outcomeOf(Outcome{true, OwnerAuthenticationError::local(LAErrorCode::userCancel)}),
              AuthResult::failure(AuthError::userCancelled()));
}

TEST_F(AuthManagerTest, WhenThePolicyCannotBeEvaluatedNoPromptIsShown) {
    owner->setCanEvaluate(false);
    EXPECT_EQ(outcomeOf(Outcome::succeed()), AuthResult::failure(AuthError::notAvailable()));

    owner->setCanEvaluate(false, OwnerAuthenticationError::local(LAErrorCode::biometryLockout));
    EXPECT_EQ(outcomeOf(Outcome::succeed()), AuthResult::failure(AuthError::notAvailable()));

    owner->setCanEvaluate(false, OwnerAuthenticationError::local(LAErrorCode::notInteractive));
    EXPECT_EQ(outcomeOf(Outcome::succeed()), AuthResult::failure(AuthError::systemCancelled()));

    EXPECT_EQ(owner->promptCount(), 0u);
    EXPECT_EQ(owner->liveContextCount(), 0u);
}

TEST_F(AuthManagerTest, OutcomeWaitsForTheAnswerAndArrivesLaterOnTheRunLoopOnce) {
    request("Unlock Notes");
    loop->runUntilIdle();
    EXPECT_TRUE(results.empty());
    ASSERT_EQ(owner->promptCount(), 1u);
    const auto& prompt = owner->prompts().front();
    EXPECT_EQ(prompt.reason, "Unlock Notes");
    EXPECT_EQ(prompt.policy, AuthenticationPolicy::deviceOwnerAuthentication);

    owner->queueOutcome(Outcome::fail(LAErrorCode::userFallback));
    EXPECT_TRUE(results.empty()) << "delivered inside the system's reply";

    loop->runUntilIdle();
    EXPECT_EQ(results, std::vector<AuthResult>{AuthResult::failure(AuthError::userCancelled())});
    EXPECT_EQ(owner->liveContextCount(), 0u) << "context kept after the outcome";
}

TEST_F(AuthManagerTest, AReplyFromAnotherThreadIsDeliveredOnTheMainThread) {
    owner->setRepliesFromBackgroundThread(true);
    std::vector<std::thread::id> deliveredOn;
    auth.authenticate("Unlock Notes",
                      [&](AuthResult) { deliveredOn.push_back(std::this_thread::get_id()); });

    owner->queueOutcome(Outcome::succeed());
    EXPECT_TRUE(deliveredOn.empty());
    loop->runUntilIdle();
    EXPECT_EQ(deliveredOn, std::vector<std::thread::id>{std::this_thread::get_id()});
}

TEST_F(AuthManagerTest, EachRequestHasAFreshContextAndItsOwnOutcome) {
    request("Unlock Notes");
    request("Unlock Mail");
    owner->queueOutcome(Outcome::fail(LAErrorCode::authenticationFailed));
    owner->queueOutcome(Outcome::succeed());
    loop->runUntilIdle();

    EXPECT_EQ(owner->contextsMade(), 2u);
    EXPECT_EQ(results, (std::vector<AuthResult>{AuthResult::failure(AuthError::failed()),
                                                AuthResult::success()}));
}

/// A context whose system misbehaves: answers twice, or never.
class UnrulyContext final : public OwnerAuthenticationContext {
public:
    enum class Mode { replyTwice, dropReply };
    explicit UnrulyContext(Mode mode) : mode_(mode) {}

    void setLocalizedCancelTitle(std::string) override {}
    void setLocalizedFallbackTitle(std::string) override {}
    bool canEvaluatePolicy(AuthenticationPolicy,
                           std::optional<OwnerAuthenticationError>*) override {
        return true;
    }
    void evaluatePolicy(AuthenticationPolicy, std::string, Reply reply) override {
        if (mode_ == Mode::replyTwice) {
            reply(false, OwnerAuthenticationError::local(LAErrorCode::userCancel));
            reply(true, std::nullopt);
        }
    }
    [[nodiscard]] BiometryType biometryType() const override { return BiometryType::none; }

private:
    Mode mode_;
};

TEST(AuthManager, DeliversExactlyOneOutcomeLaterEvenWhenTheSystemMisbehaves) {
    const auto unruly = [](UnrulyContext::Mode mode) -> OwnerAuthenticationContextFactory {
        return [mode] { return std::make_unique<UnrulyContext>(mode); };
    };
    const std::vector<std::pair<OwnerAuthenticationContextFactory, AuthError>> cases{
        {unruly(UnrulyContext::Mode::replyTwice), AuthError::userCancelled()},
        {unruly(UnrulyContext::Mode::dropReply), AuthError::systemCancelled()},
        {[] { return nullptr; }, AuthError::notAvailable()},
    };
    for (const auto& [contexts, expected] : cases) {
        auto loop = std::make_shared<ManualRunLoop>();
        std::vector<AuthResult> results;
        AuthManager auth(loop, contexts);
        auth.authenticate("Quit Velmora", [&](AuthResult result) { results.push_back(result); });
        EXPECT_TRUE(results.empty());
        loop->runUntilIdle();
        EXPECT_EQ(results, std::vector<AuthResult>{AuthResult::failure(expected)});
    }
}

} // namespace
} // namespace velmora
