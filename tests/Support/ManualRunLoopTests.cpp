#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>
#include <vector>

namespace velmora {
namespace {

TEST(ManualRunLoop, TimersInterleaveInTimeOrderAndRunTheWorkTheyPost) {
    ManualRunLoop loop;
    std::vector<std::string> order;
    loop.after(Seconds{0.7}, [&] { order.push_back("b@0.7"); });
    loop.after(Seconds{0.5}, [&] {
        order.push_back("a@0.5");
        loop.post([&] { order.push_back("posted-by-a"); });
        loop.after(Seconds{0.1}, [&] { order.push_back("c@0.6"); });
    });

    loop.advance(Seconds{1});

    EXPECT_EQ(order, (std::vector<std::string>{"a@0.5", "posted-by-a", "c@0.6", "b@0.7"}));
}

TEST(ManualRunLoop, InvalidatedTimersNeverFireEvenFromInsideTheirOwnTask) {
    ManualRunLoop loop;
    int oneShot = 0;
    int repeating = 0;
    TimerHandle shot = loop.after(Seconds{1}, [&] { ++oneShot; });
    TimerHandle rep;
    rep = loop.every(Seconds{1}, [&] {
        if (++repeating == 3) {
            rep.invalidate();
        }
    });
    shot.invalidate();

    loop.advance(Seconds{10});

    EXPECT_EQ(oneShot, 0);
    EXPECT_EQ(repeating, 3);
    EXPECT_EQ(loop.activeTimerCount(), 0u);
}

TEST(ManualRunLoop, RunUntilIdleKeepsTimeStillAndRunsOnlyDueTimers) {
    ManualRunLoop loop;
    int immediate = 0;
    int later = 0;
    loop.after(Seconds{0}, [&] { ++immediate; });
    loop.after(Seconds{0.001}, [&] { ++later; });

    loop.runUntilIdle();

    EXPECT_EQ(immediate, 1);
    EXPECT_EQ(later, 0);
    EXPECT_EQ(loop.nanoseconds(), 0u);
}

} // namespace
} // namespace velmora
