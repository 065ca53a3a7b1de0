#include "Platform/Linux/RestartLimiter.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using namespace std::chrono_literals;
using Clock = RestartLimiter::Clock;

TEST(RestartLimiter, AllowsAFewQuickStartsThenOneAfterTheOldestLeavesTheWindow) {
    RestartLimiter limiter(3, 60s);
    const Clock::time_point t0{};
    // Three crashes in a row restart at once.
    for (const auto at : {t0, t0 + 1s, t0 + 2s}) {
        EXPECT_EQ(limiter.nextStart(at), at);
        limiter.recordStart(at);
    }
    // The fourth waits for the first to be a minute old, however early it asks.
    EXPECT_EQ(limiter.nextStart(t0 + 3s), t0 + 60s);
    EXPECT_EQ(limiter.nextStart(t0 + 59s), t0 + 60s);
    EXPECT_EQ(limiter.nextStart(t0 + 90s), t0 + 90s);
    limiter.recordStart(t0 + 60s);
    // Now the second start is the oldest that counts.
    EXPECT_EQ(limiter.nextStart(t0 + 61s), t0 + 61s);
    limiter.recordStart(t0 + 61s);
    EXPECT_EQ(limiter.nextStart(t0 + 61s), t0 + 62s);
}

} // namespace
} // namespace velmora
