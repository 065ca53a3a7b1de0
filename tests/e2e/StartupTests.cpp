// Velmora judges at start whether it can watch and cover windows at all.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

using Startup = EndToEndTest;

TEST_F(Startup, WithoutAWindowManagerAccessibilityIsMissingAndNothingIsCovered) {
    startDesktop({.windowManager = false, .protectedApps = {testClientEntry()}});
    const auto window = launchClient("client");
    ASSERT_TRUE(window);
    startVelmora();

    EXPECT_TRUE(
        velmora().waitForOutput("[Brevane] Accessibility permission changed: unknown -> denied"));
    // Without the permission the engine never starts: the client stays uncovered.
    EXPECT_FALSE(waitForOverlayOver(*window, std::chrono::milliseconds{1500}));
    EXPECT_TRUE(velmora().isRunning());
    EXPECT_TRUE(shows(window->geometry, kClientColor));
}

TEST_F(Startup, ASecondStartBringsTheSettingsWindowForward) {
    startDesktop({});
    // Another program's window is in front and has the keyboard.
    const auto client = launchClient("client");
    ASSERT_TRUE(client);
    startVelmora();

    const auto second = desktop().launch({program().string()});
    ASSERT_TRUE(second->waitForExit(std::chrono::seconds{10}));
    EXPECT_EQ(second->exitStatus(), 0);

    XDisplay& display = desktop().display();
    std::optional<WindowInfo> settings;
    EXPECT_TRUE(eventually([&] {
        settings = display.find([](const WindowInfo& window) {
            return window.title == "Velmora Settings" && window.viewable;
        });
        return settings && display.isWithin(display.inputFocus(), settings->topLevel);
    })) << velmora().report();
    const auto clientNow = display.window(client->window);
    ASSERT_TRUE(settings && clientNow);
    EXPECT_GT(settings->stackingIndex, clientNow->stackingIndex);
}

} // namespace
} // namespace velmora::e2e
