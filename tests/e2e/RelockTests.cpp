// An unlocked application locks again: after its idle time-out in the background, when the
// screen locks, and when it quits and starts anew.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

constexpr Rgb kTerminalColor = Rgb::fromHex(0x2060a0);
// An idle time-out of 0 minutes means 10 seconds; the check runs every second.
constexpr auto kShortIdleRelock = std::chrono::seconds{15};
constexpr std::uint32_t kIconicState = 3;

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

TEST_F(Relock, IdleInTheBackgroundHidesTheAppAndItAsksAgainWhenBack) {
    startDesktop({.protectedApps = {testClientEntry(0)}});
    startVelmora();
    const auto terminal = launchTerminal("#2060a0", "60x10+700+450");
    ASSERT_TRUE(terminal);
    const auto client = unlockedClient();
    ASSERT_TRUE(client);

    activate(*terminal);
    ASSERT_TRUE(eventually(
        [&] {
            // Hidden as a person hides it: iconified, ready to come back.
            const auto current = desktop().display().window(client->window);
            return current && !current->viewable &&
                   desktop().display().wmState(client->window) == kIconicState;
        },
        kShortIdleRelock))
        << "the idle client was not hidden within " << kShortIdleRelock.count() << " s";
    EXPECT_TRUE(shows(terminal->geometry, kTerminalColor));
    EXPECT_FALSE(waitForOverlayOver(*terminal, std::chrono::milliseconds{0}))
        << "the unprotected terminal was covered";

    const WindowInfo back = activate(*client);
    EXPECT_TRUE(waitForOverlayOver(back)) << "the relocked client came back uncovered";
    EXPECT_FALSE(shows(back.frame, kClientColor));
}

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
