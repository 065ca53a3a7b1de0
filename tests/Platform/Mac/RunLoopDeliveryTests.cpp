#include "Platform/Mac/RunLoopDelivery.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>
#include <thread>

namespace velmora {
namespace {

TEST(RunLoopDelivery, CancellingThroughAnyCopyDropsWorkAlreadyPostedAndLater) {
    auto loop = std::make_shared<ManualRunLoop>();
    RunLoopDelivery delivery(loop);
    RunLoopDelivery heldBySystemCallback = delivery;
    int ran = 0;

    heldBySystemCallback.post([&] { ++ran; });
    delivery.cancel();
    heldBySystemCallback.post([&] { ++ran; });
    loop->runUntilIdle();

    EXPECT_EQ(ran, 0);
    EXPECT_FALSE(heldBySystemCallback.isActive());
}

TEST(RunLoopDelivery, WorkPostedFromAnotherThreadRunsOnTheLoop) {
    auto loop = std::make_shared<ManualRunLoop>();
    RunLoopDelivery delivery(loop);
    std::thread::id ranOn;

    std::thread([&] { delivery.post([&] { ranOn = std::this_thread::get_id(); }); }).join();
    loop->runUntilIdle();

    EXPECT_EQ(ranOn, std::this_thread::get_id());
}

} // namespace
} // namespace velmora
