#include "Platform/Sim/SimAuthenticator.hpp"

#include <gtest/gtest.h>
#include <thread>

namespace velmora {
namespace {

TEST(SimAuthenticator, CanReplyFromAnotherThreadBeforeTheQueueingCallReturns) {
    auto owner = std::make_shared<SimAuthenticator>();
    owner->setRepliesFromBackgroundThread(true);
    std::optional<std::thread::id> repliedOn;
    owner->makeContext()->evaluatePolicy(
        AuthenticationPolicy::deviceOwnerAuthentication, "Quit",
        [&](bool, auto) { repliedOn = std::this_thread::get_id(); });
    EXPECT_FALSE(repliedOn);

    owner->queueOutcome(SimAuthenticator::Outcome::succeed());
    ASSERT_TRUE(repliedOn);
    EXPECT_NE(*repliedOn, std::this_thread::get_id());
}

} // namespace
} // namespace velmora
