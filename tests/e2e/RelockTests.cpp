// An unlocked application locks again when the screen locks; idle relock in the background is
// among the covers' tests, and a quit and relaunched application is the engine's.
#include "harness/EndToEndTest.hpp"

namespace velmora::e2e {
namespace {

using Relock = EndToEndTest;

TEST_F(Relock, ScreenLockCoversTheAppInFront) {
    startDesktop({.sessionBus = true, .protectedApps = {testClientEntry()}});
    startVelmora();
    const auto covered = launchCoveredClient("client");
    ASSERT_TRUE(covered);
    ASSERT_TRUE(unlock(covered->overlay, covered->window, kClientColor));
    const auto client = desktop().display().window(covered->window.window);
    ASSERT_TRUE(client);

    ASSERT_TRUE(desktop().sessionBus()->announceScreenSaverActive(true));
    const auto overlay = waitForOverlayOver(*client);
    ASSERT_TRUE(overlay) << "the client stayed usable after the screen locked";
    EXPECT_FALSE(shows(client->frame, kClientColor));
    EXPECT_TRUE(unlock(*overlay, *client, kClientColor));
}

} // namespace
} // namespace velmora::e2e
