#include "Platform/Linux/LocalNotificationCenter.hpp"
#include "Platform/Linux/ManualSessionEvents.hpp"
#include "Platform/Linux/SessionNotificationCenter.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::ManualSessionEvents;

TEST(LocalNotificationCenter, ObserversOfTheNameRunOnTheMainQueueAfterThePostingWork) {
    auto loop = std::make_shared<ManualRunLoop>();
    auto center = std::make_unique<LocalNotificationCenter>(loop);
    std::vector<std::string> calls;
    Subscription first =
        center->addObserver("openSettingsRequested", [&] { calls.push_back("first"); });
    const Subscription second =
        center->addObserver("openSettingsRequested", [&] { calls.push_back("second"); });
    const Subscription other = center->addObserver("other", [&] { calls.push_back("other"); });

    center->post("openSettingsRequested");
    center->post("nobody listens");
    EXPECT_TRUE(calls.empty());
    loop->runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second"}));

    first.reset();
    center->post("openSettingsRequested");
    loop->runUntilIdle();
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "second", "second"}));

    center->post("other");
    center.reset();
    loop->runUntilIdle();
    EXPECT_EQ(calls.size(), 3u);
}

TEST(SessionNotificationCenter, ScreenLocksArriveAsScreenIsLocked) {
    auto loop = std::make_shared<ManualRunLoop>();
    auto events = std::make_shared<ManualSessionEvents>();
    auto center = std::make_unique<SessionNotificationCenter>(events, loop);
    int locked = 0;
    int own = 0;
    const Subscription lockObserver =
        center->addObserver(session_events::screenLocked, [&] { ++locked; });
    const Subscription ownObserver = center->addObserver("custom", [&] { ++own; });

    events->screenLocked.emit();
    EXPECT_EQ(locked, 0);
    loop->runUntilIdle();
    EXPECT_EQ(locked, 1);

    events->willSleep.emit();
    center->post("custom");
    loop->runUntilIdle();
    EXPECT_EQ(locked, 1);
    EXPECT_EQ(own, 1);

    center.reset();
    EXPECT_EQ(events->screenLocked.subscriberCount(), 0u);
}

} // namespace
} // namespace velmora
