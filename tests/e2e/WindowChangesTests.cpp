// A locked application with several windows and a popup changes them under the cover: a storm
// of moves and resizes, a new window, clicks on them all. The covers keep up and nothing
// reaches the application until it is unlocked.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

#include <set>

namespace velmora::e2e {
namespace {

class WindowChanges : public RunningVelmoraTest {
protected:
    std::vector<WindowInfo> windowsOf(const WindowInfo& window) {
        std::vector<WindowInfo> found;
        for (const auto& candidate : desktop().display().windows()) {
            if (candidate.pid == window.pid && candidate.viewable && !candidate.overrideRedirect) {
                found.push_back(candidate);
            }
        }
        return found;
    }

    bool coveredNow(xcb_window_t window) {
        const auto now = desktop().display().window(window);
        return now && desktop().display().overlayOver(now->window, [&](const WindowInfo& w) {
            return isVelmoraWindow(w);
        }) && !shows(now->frame, kClientColor);
    }
};

TEST_F(WindowChanges, CoversFollowEveryWindowAndOneOpenedWhileCoveredAndNoInputGetsThrough) {
    const auto covered = launchCoveredClient("client", {.windows = 2, .popup = true});
    ASSERT_TRUE(covered);
    const WindowInfo window = covered->window;
    EXPECT_TRUE(eventually([&] { return !shows(desktop().display().rootRect(), kClientColor); }))
        << "pixels of the locked application are still on the screen";
    ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard";
    otherClient().pressKeys(100);

    // A storm of moves and resizes.
    const std::string id = std::to_string(window.window);
    std::vector<std::string> storm;
    for (int step = 0; step < 40; ++step) {
        storm.insert(storm.end(), {"windowmove", id, std::to_string(100 + 12 * step),
                                   std::to_string(80 + 6 * step)});
        if (step % 4 == 0) {
            storm.insert(storm.end(), {"windowsize", id, std::to_string(400 + 6 * step),
                                       std::to_string(300 + 3 * step)});
        }
    }
    ASSERT_TRUE(desktop().xdo().run(storm));
    // The window manager moves it a moment later.
    EXPECT_TRUE(eventually([&] {
        const auto moved = desktop().display().window(window.window);
        return moved && moved->frame.x != window.frame.x && coveredNow(window.window);
    })) << "the window did not move, or the cover did not follow it";

    // A window opened while covered.
    std::set<xcb_window_t> before;
    for (const auto& known : windowsOf(window)) {
        before.insert(known.window);
    }

    desktop().display().sendMessage(window.window, "VELMORA_TEST_OPEN_WINDOW");
    std::optional<WindowInfo> opened;
    ASSERT_TRUE(eventually([&] {
        for (const auto& candidate : windowsOf(window)) {
            if (!before.contains(candidate.window)) {
                opened = candidate;
            }
        }
        return opened.has_value();
    }));
    const auto overNew = waitForOverlayOver(*opened);
    ASSERT_TRUE(overNew) << "the window opened under the lock was not covered";
    EXPECT_TRUE(
        eventually([&] { return coveredNow(window.window) && coveredNow(opened->window); }));
    // The card goes to whichever of its windows is raised above the other.
    for (const xcb_window_t raised : {window.window, opened->window}) {
        ASSERT_TRUE(desktop().xdo().run({"windowraise", std::to_string(raised)}));
        EXPECT_TRUE(eventually([&] {
            const auto now = desktop().display().window(raised);
            const auto card =
                now ? waitForOverlayOver(*now, std::chrono::milliseconds{0}) : std::nullopt;
            return card && velmoraWindows().waitForUnlockButton(*card);
        })) << "the card stayed on the window below";
    }

    // Beside the card on the front window, over the middle of every other one.
    for (const auto& shown : windowsOf(window)) {
        ASSERT_TRUE(desktop().xdo().click(shown.frame.x + 40, shown.frame.bottom() - 40));
    }
    ASSERT_TRUE(unlock(*overNew, *opened, kClientColor));
    // The window manager hands the focus back a moment after the cover goes.
    XDisplay& display = desktop().display();
    ASSERT_TRUE(eventually([&] {
        const auto unlocked = display.window(opened->window);
        return unlocked && display.isWithin(display.inputFocus(), unlocked->topLevel);
    })) << "the unlocked application did not get the keyboard focus back";
    ASSERT_TRUE(desktop().xdo().key("w"));
    ASSERT_TRUE(desktop().xdo().click(opened->frame.centerX(), opened->frame.centerY()));
    ASSERT_TRUE(eventually([&] {
        return client().countLines("button ") > 0 && client().countLines("key ") > 0;
    })) << "input did not reach the unlocked application";
    EXPECT_EQ(client().countLines("button "), 1u) << "a click on a covered window reached it";
    EXPECT_EQ(client().countLines("key "), 1u) << "keys typed while covered reached it";
}

} // namespace
} // namespace velmora::e2e
