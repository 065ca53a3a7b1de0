#include "Platform/Sim/SimDesktop.hpp"
#include "Support/RecordingLogger.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SimDesktop, ItsPlatformKeepsTheServicesAndTheMainQueueAliveAfterItIsGone) {
    std::optional<Platform> platform;
    ProcessId host = 0;
    {
        SimDesktop desktop;
        platform = desktop.platform(std::make_shared<testing::RecordingLogger>());
        host = desktop.hostPid();
    }
    EXPECT_TRUE(platform->windowList && platform->eventTaps && platform->hostApplication &&
                platform->distributedNotifications && platform->updaterFactory());
    int activations = 0;
    Subscription s = platform->workspace->observeDidActivateApplication(
        [&](const std::optional<RunningApplication>&) { ++activations; });
    platform->workspace->activate(host);
    std::static_pointer_cast<ManualRunLoop>(platform->runLoop)->runUntilIdle();
    EXPECT_EQ(activations, 1);
}

TEST(SimDesktop, AHiddenApplicationsWindowsAreOffScreenUntilItIsActivated) {
    SimDesktop desktop;
    const ProcessId notes = desktop.launchApp("com.example.notes", "Notes", Rect{0, 0, 100, 80});
    desktop.workspace->hide(notes);
    EXPECT_TRUE(desktop.windowServer->onScreenWindows()->empty());
    desktop.activate(notes);
    EXPECT_EQ(desktop.windowServer->onScreenWindows()->size(), 1u);
}

TEST(SimDesktop, WithdrawsPromptsStillUpWhenItGoesAway) {
    std::optional<bool> answered;
    {
        SimDesktop desktop;
        auto context = desktop.authenticator->makeContext();
        context->evaluatePolicy(AuthenticationPolicy::deviceOwnerAuthentication, "Unlock Notes",
                                [&](bool success, auto) { answered = success; });
        EXPECT_EQ(desktop.authenticator->waitingPromptCount(), 1u);
    }
    EXPECT_EQ(answered, false);
}

} // namespace
} // namespace velmora
