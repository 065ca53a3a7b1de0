// A protected application comes to the front: covered until the owner's password unlocks it.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

using LockAndUnlock = RunningVelmoraTest;

TEST_F(LockAndUnlock, CoveredUntilTheRightPasswordThenUsable) {
    EXPECT_TRUE(velmora().waitForOutput("Accessibility permission changed: unknown -> granted"));
    const auto launched = launchClient("client");
    ASSERT_TRUE(launched);
    const WindowInfo window = activate(*launched);

    const auto overlay = waitForOverlayOver(window);
    ASSERT_TRUE(overlay) << "the protected client was not covered within " << kCoverTimeout.count()
                         << " s";
    EXPECT_FALSE(shows(window.frame, kClientColor)) << "the client shows through its overlay";

    // Input while covered goes to the cover and Velmora, never to the application beneath.
    desktop().xdo().click(overlay->frame.x + 40, overlay->frame.bottom() - 40);
    ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard";
    desktop().xdo().type("leak");

    ASSERT_TRUE(unlock(*overlay, window, kClientColor));
    const auto uncovered = desktop().display().window(window.window);
    ASSERT_TRUE(uncovered);
    // The window manager hands the focus over a moment after the cover goes.
    XDisplay& display = desktop().display();
    ASSERT_TRUE(eventually([&] {
        return display.isWithin(display.inputFocus(), uncovered->topLevel);
    })) << "the unlocked application did not get the keyboard focus back";

    ASSERT_TRUE(desktop().xdo().key("w"));
    ASSERT_TRUE(eventually([&] { return client().countLines("key ") > 0; }))
        << "a key typed into the unlocked application did not reach it";
    EXPECT_EQ(client().countLines("key "), 1u) << "keys typed while covered reached it";
    EXPECT_EQ(client().countLines("button "), 0u) << "clicks on the cover reached it";

    // Its windows made and used, Velmora still ends cleanly when the session does.
    velmora().stop();
    EXPECT_EQ(velmora().log().find("FATAL"), std::string::npos) << velmora().log();
}

TEST_F(LockAndUnlock, EveryWindowAndPopupOfTheAppIsHidden) {
    const auto launched = launchClient("client", {.windows = 2, .popup = true});
    ASSERT_TRUE(launched);
    const WindowInfo window = activate(*launched);
    ASSERT_TRUE(waitForOverlayOver(window));
    std::size_t showing = 0;
    EXPECT_TRUE(eventually(
        [&] {
            showing =
                desktop().display().capture(desktop().display().rootRect()).count(kClientColor);
            return showing == 0;
        },
        kCoverTimeout))
        << showing << " pixels of the locked application are still on the screen";
    saveScreenshot("covered");

    ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard";
    otherClient().pressKeys(100);
    EXPECT_TRUE(client().logLines().empty()) << "keys or clicks reached the covered application";
}

} // namespace
} // namespace velmora::e2e
