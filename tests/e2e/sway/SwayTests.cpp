// Velmora on sway, on one headless sway for the whole suite.
#include "harness/CompositorTest.hpp"
#include "harness/SwaySession.hpp"

namespace velmora::e2e {
namespace {

using SwayTest = CompositorTest<SwaySession>;

TEST_F(SwayTest, LockedWindowIsCoveredInFrontAndBehindAndNoClickOrKeyReachesIt) {
    expectLockedWindowCoveredAndDeaf();
}

TEST_F(SwayTest, KilledVelmoraLeavesTheWindowHiddenAndComesBack) {
    expectKilledVelmoraHidesAndComesBack();
}

TEST_F(SwayTest, UnlocksThroughThePasswordPrompt) {
    startVelmora();
    const Window client = launch("locked");
    ASSERT_TRUE(unlock(lockedInFront(client)));
    EXPECT_TRUE(eventually([&] {
        return session_->capture(client.frame).count(kCanary) >
               static_cast<std::size_t>(client.frame.width * client.frame.height / 2);
    })) << "the client did not show again after the unlock";
}

} // namespace
} // namespace velmora::e2e
