// The test application and the harness around it, on their own: what the end-to-end tests
// rely on when they judge Velmora by pixels, window stacking and the client's event log.
#include "harness/Eventually.hpp"
#include "harness/TestDesktop.hpp"

#include <gtest/gtest.h>

namespace velmora::e2e {
namespace {

constexpr Rgb kGreen = Rgb::fromHex(0x00c000);

TEST(TestClient, PaintsItsWindowsAndPopupAndLogsTheInputItReceives) {
    TestDesktop desktop({});
    const auto client = desktop.launchClient(
        "client", {.color = kGreen, .geometry = "400x300+200+150", .windows = 2, .popup = true});
    ASSERT_TRUE(client->waitUntilReady());

    XDisplay& display = desktop.display();
    const auto first = display.find([&](const WindowInfo& w) { return w.title == "client 1"; });
    const auto second = display.find([&](const WindowInfo& w) { return w.title == "client 2"; });
    ASSERT_TRUE(first && second);
    for (const auto& window : {*first, *second}) {
        EXPECT_TRUE(window.viewable);
        EXPECT_FALSE(window.overrideRedirect);
        EXPECT_EQ(window.pid, client->pid());
        EXPECT_EQ(window.instance, "velmora-test-client");
        EXPECT_EQ(window.className, "VelmoraTestClient");
        EXPECT_EQ(window.geometry.width, 400);
        // Managed: openbox's frame holds it, with a title bar above.
        EXPECT_NE(window.window, window.topLevel);
        EXPECT_TRUE(window.frame.contains(window.geometry));
        EXPECT_GT(window.frame.height, window.geometry.height);
    }
    const auto popup = display.find([&](const WindowInfo& w) { return w.overrideRedirect; });
    ASSERT_TRUE(popup);
    EXPECT_FALSE(first->geometry.contains(popup->geometry));
    EXPECT_GT(first->geometry.intersection(popup->geometry).width, 0);
    EXPECT_GT(popup->stackingIndex, first->stackingIndex);

    const WindowInfo active = desktop.xdo().activate(first->window)
                                  ? display.window(first->window).value_or(*first)
                                  : *first;
    EXPECT_TRUE(display.isWithin(display.inputFocus(), active.topLevel));
    const Image shot = display.capture(active.geometry);
    EXPECT_EQ(shot.count(kGreen), static_cast<std::size_t>(400 * 300));
    EXPECT_FALSE(display.capture({0, 0, 100, 100}).contains(kGreen));

    // Below the popup, inside the first window; then on the popup.
    ASSERT_TRUE(desktop.xdo().click(active.geometry.x + 10, active.geometry.bottom() - 10));
    ASSERT_TRUE(desktop.xdo().click(popup->geometry.centerX(), popup->geometry.centerY(), 3));
    ASSERT_TRUE(desktop.xdo().key("a"));
    ASSERT_TRUE(eventually([&] { return client->logLines().size() == 3; }));
    const auto lines = client->logLines();
    EXPECT_EQ(lines[0], "button 1 window 0");
    EXPECT_EQ(lines[1], "button 3 window 2");
    EXPECT_TRUE(lines[2].starts_with("key ")) << lines[2];
}

TEST(TestClient, EndsWhenItsLastWindowIsClosed) {
    TestDesktop desktop({});
    const auto client = desktop.launchClient("client", {.windows = 2});
    ASSERT_TRUE(client->waitUntilReady());
    for (const char* title : {"client 1", "client 2"}) {
        const auto window =
            desktop.display().find([&](const WindowInfo& w) { return w.title == title; });
        ASSERT_TRUE(window);
        EXPECT_TRUE(client->isRunning());
        desktop.display().requestClose(window->window);
        ASSERT_TRUE(eventually([&] { return !desktop.display().window(window->window); }));
    }
    EXPECT_TRUE(eventually([&] { return !client->isRunning(); }));
}

} // namespace
} // namespace velmora::e2e
