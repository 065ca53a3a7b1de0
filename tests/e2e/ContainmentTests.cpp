// A covered application gets no input: keys typed at it while windows and desktops change,
// or while another client holds the keyboard, go elsewhere; windows mapped or raised above
// its cover go back beneath it.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

constexpr Rgb kIntruderColor = Rgb::fromHex(0x20a040);

class Containment : public RunningVelmoraTest {
protected:
    void SetUp() override {
        RunningVelmoraTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        const auto launched = launchClient("canary");
        ASSERT_TRUE(launched);
        canary_ = activate(*launched);
        coverCanary();
    }

    void coverCanary() {
        overlay_ = waitForOverlayOver(canary_);
        ASSERT_TRUE(overlay_) << "the canary is not covered";
        ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard";
    }

    /// Reports what reached the canary, which must be nothing, and what the screen shows.
    void expectCanaryUntouchedAndHidden() {
        const auto lines = client(0).logLines();
        RecordProperty("canaryEvents", static_cast<int>(lines.size()));
        EXPECT_TRUE(lines.empty()) << lines.size() << " key or button events reached the canary, "
                                   << "the first: " << lines.front();
        EXPECT_FALSE(shows(canary_.frame, kClientColor)) << "the canary shows through its cover";
        saveScreenshot("covered");
    }

    WindowInfo canary_;
    std::optional<WindowInfo> overlay_;
};

TEST_F(Containment, KeysTypedWhileWindowsAndDesktopsChangeNeverReachTheCoveredApp) {
    otherClient().pressKeys(300);

    // With an unprotected application in front, the keyboard is let go for it.
    const auto elsewhere = launchTerminal("#20a040", "40x8+850+520");
    ASSERT_TRUE(elsewhere);
    activate(*elsewhere);
    ASSERT_TRUE(eventually([&] { return !otherClient().keyboardHeldElsewhere(); }))
        << "Velmora kept the keyboard with an unprotected application in front";
    otherClient().pressKeys(100);

    canary_ = activate(canary_);
    coverCanary();
    otherClient().pressKeys(300);

    ASSERT_TRUE(desktop().xdo().setDesktop(1));
    otherClient().pressKeys(100);
    ASSERT_TRUE(desktop().xdo().setDesktop(0));
    canary_ = activate(canary_);
    coverCanary();
    otherClient().pressKeys(200);

    expectCanaryUntouchedAndHidden();
}

TEST_F(Containment, KeysGoToAnotherClientHoldingTheKeyboardAndVelmoraTakesItBackAfter) {
    ASSERT_TRUE(desktop().xdo().setDesktop(1));
    ASSERT_TRUE(eventually([&] { return otherClient().grabKeyboard(); }))
        << "Velmora kept the keyboard with nothing covered in front";
    ASSERT_TRUE(desktop().xdo().setDesktop(0));
    canary_ = activate(canary_);
    ASSERT_TRUE(waitForOverlayOver(canary_));
    otherClient().pressKeys(100);

    otherClient().ungrabKeyboard();
    ASSERT_TRUE(waitUntilKeyboardHeld()) << "Velmora did not take the keyboard once it was free";
    otherClient().pressKeys(100);

    expectCanaryUntouchedAndHidden();
}

TEST_F(Containment, WindowsMappedOrRaisedAboveTheCoverGoBackBeneathIt) {
    // Half over the canary, half beside it.
    const ScreenRect area{canary_.frame.x + canary_.frame.width / 2, canary_.frame.y + 40,
                          canary_.frame.width, 120};
    const xcb_window_t popup = otherClient().mapPopup(area, kIntruderColor);
    const auto coverOnTop = [&] {
        const auto cover = desktop().display().window(overlay_->window);
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
    const auto prompt = openPasswordPrompt(*overlay_);
    ASSERT_TRUE(prompt);
    otherClient().raise(popup);
    EXPECT_TRUE(eventually([&] {
        const auto current = desktop().display().window(prompt->window);
        const auto cover = desktop().display().window(overlay_->window);
        return coverOnTop() && current && cover && current->stackingIndex > cover->stackingIndex;
    })) << "the prompt did not come back above the cover";

    expectCanaryUntouchedAndHidden();
}

} // namespace
} // namespace velmora::e2e
