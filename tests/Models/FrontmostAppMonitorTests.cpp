#include "Models/FrontmostAppMonitor.hpp"
#include "Platform/Sim/SimWorkspace.hpp"
#include "Support/ManualRunLoop.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class FrontmostAppMonitorTest : public ::testing::Test {
protected:
    ManualRunLoop loop;
    std::shared_ptr<SimWorkspace> desktop = std::make_shared<SimWorkspace>(loop);
    std::shared_ptr<FrontmostAppMonitor> monitor = FrontmostAppMonitor::create(desktop);
    std::vector<FrontmostAppInfo> published;
    Subscription publishing = monitor->currentAppInfoPublisher(
        [this](const FrontmostAppInfo& info) { published.push_back(info); });
};

TEST_F(FrontmostAppMonitorTest, StartsFromTheWorkspaceAndFollowsActivationsWithoutRepeats) {
    const ProcessId notes =
        desktop->launch({.bundleIdentifier = "com.example.notes", .localizedName = "Notes"});
    desktop->activate(notes);
    loop.runUntilIdle();
    const FrontmostAppInfo notesInfo{"com.example.notes", notes, "Notes"};
    EXPECT_EQ(published, std::vector<FrontmostAppInfo>{FrontmostAppInfo::unknown()});

    monitor->startMonitoring();
    monitor->startMonitoring();
    EXPECT_EQ(desktop->activationObserverCount(), 1u);
    EXPECT_EQ(monitor->currentAppInfo(), notesInfo);

    desktop->postActivationNotification(desktop->application(notes));
    desktop->postActivationNotification(desktop->application(notes));
    const ProcessId relaunched =
        desktop->launch({.bundleIdentifier = "com.example.notes", .localizedName = "Notes"});
    desktop->activate(relaunched);
    loop.runUntilIdle();

    const FrontmostAppInfo relaunchedInfo{"com.example.notes", relaunched, "Notes"};
    EXPECT_EQ(published, (std::vector<FrontmostAppInfo>{FrontmostAppInfo::unknown(), notesInfo,
                                                        relaunchedInfo}));
}

TEST_F(FrontmostAppMonitorTest, NotificationWithoutTheApplicationAsksTheWorkspace) {
    monitor->startMonitoring();
    const ProcessId notes = desktop->launch({.bundleIdentifier = "com.example.notes"});
    desktop->setFrontmostQuietly(notes);
    desktop->postActivationNotification(std::nullopt);
    loop.runUntilIdle();
    EXPECT_EQ(monitor->currentAppInfo().processIdentifier, notes);

    desktop->setFrontmostQuietly(std::nullopt);
    desktop->postActivationNotification(std::nullopt);
    desktop->postActivationNotification(std::nullopt);
    loop.runUntilIdle();

    EXPECT_EQ(monitor->currentAppInfo(), FrontmostAppInfo::unknown());
    ASSERT_EQ(published.size(), 3u);
    EXPECT_EQ(published.back(), FrontmostAppInfo::unknown());
}

} // namespace
} // namespace velmora
