// An unlocked application locks again when the screen locks and when it quits and starts
// anew; idle relock in the background is among the covers' tests.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

class Relock : public EndToEndTest {
protected:
    /// Launches the test client, brings it to the front, and unlocks it.
    std::optional<WindowInfo> unlockedClient() {
        const auto covered = launchCoveredClient("client");
        if (!covered) {
            return std::nullopt;
        }
        if (!unlock(covered->overlay, covered->window, kClientColor)) {
            ADD_FAILURE() << "the client could not be unlocked";
            return std::nullopt;
        }
        return desktop().display().window(covered->window.window);
    }
};

TEST_F(Relock, ScreenLockCoversTheAppInFront) {
    startDesktop({.sessionBus = true, .protectedApps = {testClientEntry()}});
    startVelmora();
    const auto client = unlockedClient();
    ASSERT_TRUE(client);

    ASSERT_TRUE(desktop().sessionBus()->announceScreenSaverActive(true));
    const auto overlay = waitForOverlayOver(*client);
    ASSERT_TRUE(overlay) << "the client stayed usable after the screen locked";
    EXPECT_FALSE(shows(client->frame, kClientColor));
    EXPECT_TRUE(unlock(*overlay, *client, kClientColor));
}

TEST_F(Relock, QuitAndRelaunchedAppAsksAgain) {
    startDesktop({.protectedApps = {testClientEntry()}});
    startVelmora();
    const auto first = unlockedClient();
    ASSERT_TRUE(first);

    desktop().display().requestClose(first->window);
    ASSERT_TRUE(eventually([&] { return !client(0).isRunning(); }));

    const auto relaunched = launchClient("client again");
    ASSERT_TRUE(relaunched);
    const WindowInfo window = activate(*relaunched);
    EXPECT_TRUE(waitForOverlayOver(window)) << "the relaunched client was not covered";
    EXPECT_FALSE(shows(window.frame, kClientColor));
}

} // namespace
} // namespace velmora::e2e
