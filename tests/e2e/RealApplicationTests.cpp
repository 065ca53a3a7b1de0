// An ordinary X application from the distribution, known only by its desktop entry.
#include "harness/EndToEndTest.hpp"

namespace velmora::e2e {
namespace {

constexpr Rgb kTerminalColor = Rgb::fromHex(0x00c0c0);

using RealApplication = EndToEndTest;

TEST_F(RealApplication, XTermIsCoveredThroughItsStartupWmClass) {
    startDesktop(
        {.protectedApps = {{.bundleIdentifier = "debian-xterm", .displayName = "XTerm"}},
         .applications = {
             {.id = "debian-xterm", .name = "XTerm", .exec = "xterm", .startupWmClass = "XTerm"}}});
    startVelmora();
    const auto terminal =
        desktop().launch({"xterm", "-bg", "#00c0c0", "-geometry", "80x24+250+150"});
    const auto window = desktop().display().waitFor(
        [](const WindowInfo& info) { return info.viewable && info.className == "XTerm"; });
    ASSERT_TRUE(window);
    // Locked from the moment it maps, in front or not.
    ASSERT_TRUE(waitForOverlayOver(*window));
    EXPECT_FALSE(shows(window->frame, kTerminalColor));

    const auto overlay = waitForOverlayOver(activate(*window));
    ASSERT_TRUE(overlay) << "xterm was not covered";
    EXPECT_FALSE(shows(window->frame, kTerminalColor));
    EXPECT_TRUE(unlock(*overlay, *window, kTerminalColor));
}

} // namespace
} // namespace velmora::e2e
