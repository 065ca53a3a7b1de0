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

} // namespace
} // namespace velmora::e2e
