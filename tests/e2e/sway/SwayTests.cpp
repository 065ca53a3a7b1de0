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

} // namespace
} // namespace velmora::e2e
