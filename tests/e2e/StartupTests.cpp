// Velmora judges at start whether it can watch and cover windows at all.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

using Startup = EndToEndTest;

TEST_F(Startup, WithoutAWindowManagerAccessibilityIsMissingAndNothingIsCovered) {
    startDesktop({.windowManager = false, .protectedApps = {testClientEntry()}});
    const auto window = launchClient("client");
    ASSERT_TRUE(window);
    startVelmora();

    EXPECT_TRUE(
        velmora().waitForOutput("[Brevane] Accessibility permission changed: unknown -> denied"));
    // Without the permission the engine never starts: the client stays uncovered.
    EXPECT_FALSE(waitForOverlayOver(*window, std::chrono::milliseconds{1500}));
    EXPECT_TRUE(velmora().isRunning());
    EXPECT_TRUE(shows(window->geometry, kClientColor));
}

} // namespace
} // namespace velmora::e2e
