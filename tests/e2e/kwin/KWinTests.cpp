// Velmora on KDE Plasma's Wayland session, on one KWin for the whole suite.
#include "harness/CompositorTest.hpp"
#include "harness/KWinSession.hpp"

namespace velmora::e2e {
namespace {

using KWinTest = CompositorTest<KWinSession>;

TEST_F(KWinTest, LockedWindowIsCoveredAndDeafUntilThePasswordIsTyped) {
    expectLockedWindowCoveredAndDeaf();
}

TEST_F(KWinTest, KilledVelmoraLeavesTheWindowHiddenAndComesBack) {
    expectKilledVelmoraHidesAndComesBack();
}

TEST_F(KWinTest, MinimizedAndBroughtBackItOffersItsCardAgain) {
    expectMinimizedAndBroughtBackOffersItsCard();
}

TEST_F(KWinTest, IdleRelockHidesTheApplication) {
    expectIdleRelockHides();
}

TEST_F(KWinTest, WindowOpenedWhileLockedNeverShows) {
    expectWindowOpenedWhileLockedUnseen();
}

TEST_F(KWinTest, AnEntryClaimingItsClassLeavesItCovered) {
    expectClaimingEntryLeavesItCovered();
}

TEST_F(KWinTest, AnX11ApplicationThroughXwaylandIsCoveredToo) {
    startVelmora();
    const auto client = desktop_->launchThroughXwayland("x11");
    ASSERT_TRUE(client) << "no X11 window through Xwayland";
    lockedInFront(*client);
    EXPECT_EQ(canaryPixels(), 0u);
    session_->type("leak");
    EXPECT_EQ(keysOf(0), 0u);
}

} // namespace
} // namespace velmora::e2e
