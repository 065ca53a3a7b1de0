// Velmora on sway, on one headless sway for the whole suite.
#include "harness/CompositorTest.hpp"
#include "harness/SwaySession.hpp"

namespace velmora::e2e {
namespace {

using SwayTest = CompositorTest<SwaySession>;

TEST_F(SwayTest, LockedWindowIsCoveredAndDeafUntilThePasswordIsTyped) {
    expectLockedWindowCoveredAndDeaf();
}

TEST_F(SwayTest, KilledVelmoraLeavesTheWindowHiddenAndComesBack) {
    expectKilledVelmoraHidesAndComesBack();
}

TEST_F(SwayTest, MinimizedAndBroughtBackItOffersItsCardAgain) {
    expectMinimizedAndBroughtBackOffersItsCard();
}

TEST_F(SwayTest, IdleRelockHidesTheApplication) {
    expectIdleRelockHides();
}

TEST_F(SwayTest, WindowOpenedWhileLockedNeverShows) {
    expectWindowOpenedWhileLockedUnseen();
}

TEST_F(SwayTest, AnEntryClaimingItsClassLeavesItCovered) {
    expectClaimingEntryLeavesItCovered();
}

TEST_F(SwayTest, AnX11ApplicationThroughXwaylandIsCoveredToo) {
    expectXwaylandWindowCoveredAndDeaf();
}

TEST_F(SwayTest, InSwaybarsTrayItsIconOpensThePanel) {
    const auto bar = session_->startBar();
    ASSERT_TRUE(bar) << "swaybar hosts no tray";
    launch("other", kOther);
    ASSERT_TRUE(desktop_->startVelmora(VELMORA_PROGRAM, 5, true));
    // Velmora's icon, in its own violet, at the end of the bar.
    std::optional<ScreenRect> icon;
    ASSERT_TRUE(eventually([&] {
        icon = session_->capture(ScreenRect{0, 0, 1280, 40}).band(Rgb::fromHex(0x998ce6), 3);
        return icon.has_value();
    })) << "no icon in the tray";
    EXPECT_FALSE(desktop_->window("Velmora")) << "the panel opened by itself beside a tray";
    EXPECT_TRUE(eventually([&] { return desktop_->window("other")->active; }))
        << "starting, Velmora kept the keyboard from the window in front";
    session_->click(icon->centerX(), icon->centerY());
    EXPECT_TRUE(desktop_->waitForPanel()) << "the icon did not open the panel";
}

} // namespace
} // namespace velmora::e2e
