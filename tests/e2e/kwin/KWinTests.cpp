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
    startVelmora(0);
    const auto client = launch("locked");
    ASSERT_TRUE(unlock(lockedInFront(client)));
    ASSERT_TRUE(eventually([&] { return canaryPixels() > 0; }));

    launch("other", kOther);
    ASSERT_TRUE(session_->activate("other"));
    // An idle time-out of 0 minutes is the shortest, ten seconds.
    EXPECT_TRUE(eventually(
        [&] {
            const auto window = desktop_->window("locked");
            return window && window->minimized;
        },
        std::chrono::seconds{20}));
    // The frame KWin shows next no longer has it.
    EXPECT_TRUE(eventually([&] { return canaryPixels() == 0; }, std::chrono::seconds{1}));
    EXPECT_TRUE(session_->activate("locked"));
    EXPECT_TRUE(desktop_->waitForShieldOver(client.frame));
    EXPECT_EQ(canaryPixels(), 0u);
}

TEST_F(KWinTest, WindowOpenedWhileLockedNeverShows) {
    startVelmora();
    const auto client = launch("locked", {.openWindowAfter = std::chrono::seconds{3}});
    lockedInFront(client);
    // Screens taken as the locked process opens another window, and for a second after.
    std::size_t shown = 0;
    std::optional<std::chrono::steady_clock::time_point> opened;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds{10};
    while (std::chrono::steady_clock::now() < deadline &&
           (!opened || std::chrono::steady_clock::now() - *opened < std::chrono::seconds{1})) {
        shown = std::max(shown, canaryPixels());
        if (!opened && desktop_->window("locked 2")) {
            opened = std::chrono::steady_clock::now();
        }
    }
    EXPECT_TRUE(opened) << "the client opened no second window";
    EXPECT_EQ(shown, 0u);
}

TEST_F(KWinTest, AnEntryClaimingItsClassLeavesItCovered) {
    startVelmora();
    // Saved once Velmora runs, sorted before the protected entry, naming the class the client
    // runs under, which only the protected application's own rules still tie to it.
    desktop_->install({"aaa.Claim", "Claim", "/bin/true", "TestClient"});
    const auto client = launch("claimed", {.appId = "TestClient"});
    lockedInFront(client);
    EXPECT_EQ(canaryPixels(), 0u);
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
