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
    // Half a second later it brings its settings window forward to guide the owner; by then
    // it has had every chance to cover the client.
    EXPECT_TRUE(eventually([&] {
        return desktop()
            .display()
            .find([&](const WindowInfo& info) {
                return info.viewable && !info.overrideRedirect && isVelmoraWindow(info);
            })
            .has_value();
    })) << "no settings window to guide the owner";
    EXPECT_TRUE(velmora().isRunning());
    EXPECT_FALSE(waitForOverlayOver(*window, std::chrono::milliseconds{0}));
    EXPECT_TRUE(shows(window->geometry, kClientColor));
}

} // namespace
} // namespace velmora::e2e
