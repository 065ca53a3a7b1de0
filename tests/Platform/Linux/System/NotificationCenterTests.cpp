#include "Platform/Linux/LocalNotificationCenter.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(LocalNotificationCenter, ObserversOfTheNameRunOnTheMainQueueAfterThePostingWork) {
    auto loop = std::make_shared<ManualRunLoop>();
    auto center = std::make_unique<LocalNotificationCenter>(loop);
    std::vector<std::string> calls;
    const Subscription first =
        center->addObserver("openSettingsRequested", [&] { calls.push_back("first"); });
    const Subscription second =
        center->addObserver("openSettingsRequested", [&] { calls.push_back("second"); });
    const Subscription other = center->addObserver("other", [&] { calls.push_back("other"); });

    center->post("openSettingsRequested");
    EXPECT_TRUE(calls.empty());
    loop->runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));

    center->post("other");
    center.reset();
    loop->runUntilIdle();
    EXPECT_EQ(calls.size(), 2u);
}

} // namespace
} // namespace velmora
