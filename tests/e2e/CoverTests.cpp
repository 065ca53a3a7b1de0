// Every window of a locked application is covered wherever it lies, under a stacking and a
// tiling window manager alike: no pixel of it shows, and no key, click or scroll reaches it,
// not even in the instant it gets the focus, nor while Velmora is dead.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

#include <csignal>

namespace velmora::e2e {
namespace {

enum class Manager { openbox, i3 };

class Covers : public EndToEndTest, public ::testing::WithParamInterface<Manager> {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        startDesktop({.windowAnimations = false,
                      .tiling = GetParam() == Manager::i3,
                      .protectedApps = {testClientEntry()}});
        startVelmora();
    }

    /// The test client, locked, under its card in front.
    std::optional<WindowInfo> lockedCanary() {
        const auto canary = launchCoveredClient("canary");
        return canary ? std::optional(canary->window) : std::nullopt;
    }

    /// An unprotected xterm in front of (or, tiled, beside) the canary.
    void bringTerminalToFront() {
        const auto terminal = launchTerminal("#20a040", "40x8+300+200");
        ASSERT_TRUE(terminal);
        activate(*terminal);
    }

    /// Its frame as it is now, once Velmora's cover lies over it.
    std::optional<WindowInfo> covered(const WindowInfo& canary) {
        std::optional<WindowInfo> now;
        eventually([&] {
            now = desktop().display().window(canary.window);
            return now && waitForOverlayOver(*now, std::chrono::milliseconds{0}) &&
                   !shows(desktop().display().rootRect(), kClientColor);
        });
        return now;
    }

    /// Clicks and turns the wheel one pixel inside each corner of `frame`.
    void pokeCorners(const ScreenRect& frame) {
        for (const auto& [x, y] : {std::pair{frame.x, frame.y},
                                   {frame.x + frame.width - 1, frame.y},
                                   {frame.x, frame.bottom() - 1},
                                   {frame.x + frame.width - 1, frame.bottom() - 1}}) {
            for (const int button : {1, 3, 4, 5}) {
                EXPECT_TRUE(desktop().xdo().click(x, y, button));
            }
        }
    }

    /// No pixel of the canary anywhere on the screen, and nothing ever reached it.
    void expectCanaryUnseenAndUntouched(const std::string& shot) {
        EXPECT_FALSE(shows(desktop().display().rootRect(), kClientColor))
            << "the canary shows on the screen";
        saveScreenshot(shot);
        const auto lines = client().logLines();
        EXPECT_TRUE(lines.empty())
            << lines.size() << " input events reached the canary, the first: " << lines.front();
    }
};

TEST_P(Covers, BehindAnotherAppItShowsNothingAndTakesNoClickScrollOrKeyAsItIsActivated) {
    const auto canary = lockedCanary();
    ASSERT_TRUE(canary);
    bringTerminalToFront();
    const auto behind = covered(*canary);
    ASSERT_TRUE(behind) << "the canary behind xterm is not covered";
    expectCanaryUnseenAndUntouched("behind");
    pokeCorners(behind->frame);

    // No wait between the activation and the keys: the server must take the keyboard as the
    // focus enters, before Velmora hears of it.
    ASSERT_TRUE(desktop().xdo().run({"windowactivate", std::to_string(canary->window), "type",
                                     "--delay", "1", std::string(1000, 'k')}));
    // The window manager saw the activation: the card is shown.
    const auto overlay = waitForOverlayOver(*canary);
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(velmoraWindows().waitForUnlockButton(*overlay)) << "no card over the canary";
    expectCanaryUnseenAndUntouched("activated");
}

TEST_P(Covers, MappedAgainWithoutActivationItIsCoveredAgain) {
    const auto canary = lockedCanary();
    ASSERT_TRUE(canary);
    bringTerminalToFront();
    ASSERT_TRUE(covered(*canary));
    const std::string window = std::to_string(canary->window);
    ASSERT_TRUE(desktop().xdo().run({"windowunmap", "--sync", window}));
    ASSERT_TRUE(desktop().xdo().run({"windowmap", "--sync", window}));
    const auto again = covered(*canary);
    ASSERT_TRUE(again) << "the canary mapped again is not covered";
    pokeCorners(again->frame);
    expectCanaryUnseenAndUntouched("mapped-again");
}

TEST_P(Covers, WithVelmoraKilledTheGuardHidesOrCoversItUntilVelmoraCoversAgain) {
    const auto canary = lockedCanary();
    ASSERT_TRUE(canary);
    bringTerminalToFront();
    ASSERT_TRUE(covered(*canary));
    // The guard learns of the canary from Velmora's next report.
    ASSERT_TRUE(eventually([&] {
        return velmora().standardError().find("Watching protected processes: " +
                                              std::to_string(client().pid())) != std::string::npos;
    }));

    ASSERT_EQ(::kill(velmora().pid(), SIGKILL), 0);
    // Iconified where the manager does so, else covered by the guard after a quarter second.
    EXPECT_TRUE(eventually([&] { return !shows(desktop().display().rootRect(), kClientColor); },
                           std::chrono::milliseconds{1000}))
        << "the canary showed after Velmora died";
    const auto now = desktop().display().window(canary->window);
    if (now && now->viewable) {
        pokeCorners(now->frame);
    }
    expectCanaryUnseenAndUntouched("guarded");
    ASSERT_TRUE(eventually(
        [&] { return velmora().standardError().find("covers again") != std::string::npos; },
        std::chrono::seconds{15}))
        << "the new Velmora never reported to the guard";
    expectCanaryUnseenAndUntouched("covered-again");
}

TEST_P(Covers, TabbedAndFullScreenUnderATilingManagerItStaysCovered) {
    if (GetParam() != Manager::i3) {
        GTEST_SKIP() << "openbox neither tabs nor tiles";
    }
    const auto canary = lockedCanary();
    ASSERT_TRUE(canary);
    bringTerminalToFront();
    ASSERT_TRUE(covered(*canary));
    for (const std::string command :
         {"layout tabbed", "focus left", "layout stacking", "layout splith", "fullscreen toggle"}) {
        ASSERT_TRUE(runCommand({"i3-msg", command}, desktop().environment())) << command;
        ASSERT_TRUE(eventually([&] {
            const auto now = desktop().display().window(canary->window);
            return now && (!now->viewable || covered(*canary));
        })) << "the canary is not covered after "
            << command;
        EXPECT_FALSE(shows(desktop().display().rootRect(), kClientColor)) << command;
    }
    expectCanaryUnseenAndUntouched("full-screen");
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, Covers, ::testing::Values(Manager::openbox, Manager::i3),
                         [](const auto& info) {
                             return info.param == Manager::i3 ? "i3" : "openbox";
                         });

} // namespace
} // namespace velmora::e2e
