// A covered application gets no input: keys typed at it while windows and desktops change,
// or while another client holds the keyboard, go elsewhere; windows mapped or raised above
// its cover go back beneath it, and Velmora's windows taken away by another client come back.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

constexpr Rgb kIntruderColor = Rgb::fromHex(0x20a040);

using Containment = RunningVelmoraTest;

TEST_F(Containment, NoKeyReachesTheCoveredAppAndNoWindowStaysAboveItsCover) {
    const auto launched = launchClient("canary");
    ASSERT_TRUE(launched);
    WindowInfo canary = activate(*launched);
    std::optional<WindowInfo> overlay;
    const auto coverCanary = [&] {
        overlay = waitForOverlayOver(canary);
        ASSERT_TRUE(overlay) << "the canary is not covered";
        ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard";
    };
    ASSERT_NO_FATAL_FAILURE(coverCanary());
    otherClient().pressKeys(300);

    // Any client may unmap, destroy, reparent, move or lower another's windows: Velmora's
    // come back at once.
    const auto velmoraOverCanary = [&] {
        auto over = desktop().display().windows();
        std::erase_if(over, [&](const WindowInfo& window) {
            return !window.viewable || !isVelmoraWindow(window) ||
                   !window.frame.contains(canary.frame);
        });
        return over;
    };
    const std::size_t covers = velmoraOverCanary().size();
    using enum OtherClient::Takeaway;
    for (const auto how : {unmap, destroy, reparent, moveToTheBottom}) {
        for (const WindowInfo& window : velmoraOverCanary()) {
            otherClient().takeAway(window.window, how);
        }
        // A card moved away shows elsewhere; the cover beneath it keeps the window hidden.
        EXPECT_TRUE(eventually([&] {
            return !shows(desktop().display().rootRect(), kClientColor) &&
                   (how == moveToTheBottom || velmoraOverCanary().size() == covers);
        })) << "a cover or the card taken away ("
            << static_cast<int>(how) << ") stayed away";
        otherClient().pressKeys(100);
    }

    // With an unprotected application in front, the keyboard is let go for it.
    const auto elsewhere = launchTerminal("#20a040", "40x8+850+520");
    ASSERT_TRUE(elsewhere);
    activate(*elsewhere);
    ASSERT_TRUE(eventually([&] { return !otherClient().keyboardHeldElsewhere(); }))
        << "Velmora kept the keyboard with an unprotected application in front";
    otherClient().pressKeys(100);
    canary = activate(canary);
    ASSERT_NO_FATAL_FAILURE(coverCanary());
    otherClient().pressKeys(300);

    // Across desktops, and while another client holds the keyboard.
    ASSERT_TRUE(desktop().xdo().run({"set_desktop", "1"}));
    otherClient().pressKeys(100);
    ASSERT_TRUE(eventually([&] { return otherClient().grabKeyboard(); }))
        << "Velmora kept the keyboard with nothing covered in front";
    ASSERT_TRUE(desktop().xdo().run({"set_desktop", "0"}));
    canary = activate(canary);
    overlay = waitForOverlayOver(canary);
    ASSERT_TRUE(overlay);
    otherClient().pressKeys(100);
    otherClient().ungrabKeyboard();
    ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard once it was free";
    otherClient().pressKeys(100);

    // Half over the canary, half beside it.
    const ScreenRect area{canary.frame.x + canary.frame.width / 2, canary.frame.y + 40,
                          canary.frame.width, 120};
    const xcb_window_t popup = otherClient().mapPopup(area, kIntruderColor);
    const auto coverOnTop = [&] {
        const auto cover = desktop().display().window(overlay->window);
        const auto intruder = desktop().display().window(popup);
        return cover && intruder && cover->stackingIndex > intruder->stackingIndex;
    };
    EXPECT_TRUE(eventually(coverOnTop)) << "the cover stayed beneath a window mapped over it";
    for (int raised = 0; raised < 5; ++raised) {
        otherClient().raise(popup);
        EXPECT_TRUE(eventually(coverOnTop)) << "the cover stayed beneath a window raised over it";
    }
    otherClient().pressKeys(100);

    // The password prompt stays above the cover it belongs to.
    const auto prompt = openPasswordPrompt(*overlay);
    ASSERT_TRUE(prompt);
    otherClient().raise(popup);
    EXPECT_TRUE(eventually([&] {
        const auto current = desktop().display().window(prompt->window);
        const auto cover = desktop().display().window(overlay->window);
        return coverOnTop() && current && cover && current->stackingIndex > cover->stackingIndex;
    })) << "the prompt did not come back above the cover";

    expectClientUnseenAndUntouched();
}

} // namespace
} // namespace velmora::e2e
