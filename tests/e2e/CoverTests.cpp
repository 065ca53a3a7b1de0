// Every window of a locked application is covered wherever it lies, under a stacking and a
// tiling window manager alike: at start-up, after Lock All or an idle relock in the
// background, and after a Minimize the manager refuses. No pixel of it shows, and no key,
// click or scroll reaches it, not even in the instant it gets the focus, nor while Velmora is
// dead.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

#include <csignal>

namespace velmora::e2e {
namespace {

enum class Manager { openbox, i3 };

// Where Minimize lies below the card's Unlock button: the button's bottom padding and half
// the label's height.
constexpr int kMinimizeBelowUnlock = 20;

class Covers : public EndToEndTest, public ::testing::WithParamInterface<Manager> {
protected:
    /// This manager's desktop, with Velmora's icon in a tray and the canary protected.
    void startManagedDesktop(std::int64_t idleTimeoutMinutes = 5) {
        startDesktop({.windowAnimations = false,
                      .tiling = GetParam() == Manager::i3,
                      .trayHost = true,
                      .protectedApps = {testClientEntry(idleTimeoutMinutes)}});
    }

    /// Velmora running and the test client, locked, under its card in front.
    std::optional<CoveredWindow> coveredCanary(std::int64_t idleTimeoutMinutes = 5) {
        startManagedDesktop(idleTimeoutMinutes);
        startVelmora();
        return launchCoveredClient("canary");
    }

    /// An unprotected xterm in front of (or, tiled, beside) the canary.
    void bringTerminalToFront() {
        if (!terminal_) {
            terminal_ = launchTerminal("#20a040", "40x8+300+200");
        }
        ASSERT_TRUE(terminal_);
        activate(*terminal_);
    }

    /// Its frame as it is now, once Velmora's cover lies over it.
    std::optional<WindowInfo> covered(const WindowInfo& canary) {
        std::optional<WindowInfo> now;
        const bool isCovered = eventually([&] {
            now = desktop().display().window(canary.window);
            return now && waitForOverlayOver(*now, std::chrono::milliseconds{0}) &&
                   !shows(desktop().display().rootRect(), kClientColor);
        });
        return isCovered ? now : std::nullopt;
    }

    /// Iconified, or still on the screen but under a cover.
    bool hiddenOrCovered(const WindowInfo& canary) {
        const auto now = desktop().display().window(canary.window);
        return !shows(desktop().display().rootRect(), kClientColor) &&
               (!now || !now->viewable ||
                waitForOverlayOver(*now, std::chrono::milliseconds{0}).has_value());
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

private:
    std::optional<WindowInfo> terminal_;
};

TEST_P(Covers, UnlockedInTheBackgroundItIsHiddenOrCoveredByLockAllAndByIdleRelock) {
    auto canary = coveredCanary(0);
    ASSERT_TRUE(canary);
    for (const bool lockAll : {true, false}) {
        const std::string how = lockAll ? "lock-all" : "idle-relock";
        ASSERT_TRUE(unlock(canary->overlay, canary->window, kClientColor)) << how;
        bringTerminalToFront();
        if (lockAll) {
            // From the tray icon's menu, as a person chooses it.
            const ScreenRect screen = desktop().display().rootRect();
            ASSERT_TRUE(desktop().xdo().click(screen.width - 12, 12, 3));
            ASSERT_TRUE(desktop().display().waitFor([&](const WindowInfo& window) {
                return window.viewable && window.overrideRedirect && isVelmoraWindow(window) &&
                       window.geometry.height < screen.height / 4;
            })) << "the tray icon's menu did not open";
            ASSERT_TRUE(desktop().xdo().run({"key", "Down", "Return"}));
        }
        // An idle time-out of 0 minutes means 10 seconds.
        EXPECT_TRUE(
            eventually([&] { return hiddenOrCovered(canary->window); }, std::chrono::seconds{20}))
            << "the canary in the background was neither hidden nor covered after " << how;
        if (!lockAll && GetParam() == Manager::openbox) {
            // Hidden as a person hides it: iconified, ready to come back.
            EXPECT_TRUE(eventually([&] {
                return desktop().display().wmState(canary->window.window) == 3u;
            })) << "the idle canary was not iconified";
        }
        expectClientUnseenAndUntouched();

        const WindowInfo back = activate(canary->window);
        const auto overlay = waitForOverlayOver(back);
        ASSERT_TRUE(overlay) << "the canary came back uncovered after " << how;
        canary = CoveredWindow{back, *overlay};
    }
}

TEST_P(Covers, MinimizeOnTheCardHidesItWhereTheManagerCanElseItStaysCovered) {
    const auto canary = coveredCanary();
    ASSERT_TRUE(canary);
    const auto unlockButton = velmoraWindows().waitForUnlockButton(canary->overlay);
    ASSERT_TRUE(unlockButton);
    ASSERT_TRUE(desktop().xdo().click(unlockButton->centerX(),
                                      unlockButton->bottom() + kMinimizeBelowUnlock));
    // The card goes either way; where the window stays on the screen, a plain cover stays.
    EXPECT_TRUE(eventually([&] {
        return !shows(desktop().display().rootRect(), VelmoraWindows::kBrandFill) &&
               hiddenOrCovered(canary->window);
    }));
    const auto now = desktop().display().window(canary->window.window);
    ASSERT_TRUE(now);
    EXPECT_EQ(now->viewable, GetParam() == Manager::i3) << "i3 never iconifies";
    if (now->viewable) {
        pokeCorners(now->frame);
    }
    expectClientUnseenAndUntouched();
    if (!now->viewable) {
        // Brought back with nothing else to take the focus meanwhile, it offers its card again.
        const auto overlay = waitForOverlayOver(activate(canary->window));
        ASSERT_TRUE(overlay) << "the canary came back uncovered";
        EXPECT_TRUE(velmoraWindows().waitForUnlockButton(*overlay)) << "no card on its cover";
    }
}

TEST_P(Covers,
       BehindAnotherAppFromStartUpOrMappedAgainItShowsNothingAndTakesNoInputAsItIsActivated) {
    startManagedDesktop();
    const auto launched = launchClient("canary");
    ASSERT_TRUE(launched);
    bringTerminalToFront();
    startVelmora();
    const WindowInfo canary = *launched;
    const auto behind = covered(canary);
    ASSERT_TRUE(behind) << "the canary running behind xterm before Velmora is not covered";
    pokeCorners(behind->frame);
    // Mapped again without an activation.
    const std::string window = std::to_string(canary.window);
    ASSERT_TRUE(desktop().xdo().run({"windowunmap", "--sync", window}));
    ASSERT_TRUE(desktop().xdo().run({"windowmap", "--sync", window}));
    const auto again = covered(canary);
    ASSERT_TRUE(again) << "the canary mapped again is not covered";
    pokeCorners(again->frame);
    expectClientUnseenAndUntouched();

    // No wait between the activation and the keys: the server must take the keyboard as the
    // focus enters, before Velmora hears of it.
    ASSERT_TRUE(desktop().xdo().run(
        {"windowactivate", window, "type", "--delay", "1", std::string(1000, 'k')}));
    // The window manager saw the activation: the card is shown.
    const auto overlay = waitForOverlayOver(canary);
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(velmoraWindows().waitForUnlockButton(*overlay)) << "no card over the canary";
    expectClientUnseenAndUntouched();
}

TEST_P(Covers, WithVelmoraKilledTheGuardHidesOrCoversItUntilVelmoraCoversAgain) {
    const auto covers = coveredCanary();
    ASSERT_TRUE(covers);
    const WindowInfo canary = covers->window;
    bringTerminalToFront();
    ASSERT_TRUE(covered(canary));
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
    const auto now = desktop().display().window(canary.window);
    if (now && now->viewable) {
        pokeCorners(now->frame);
    }
    expectClientUnseenAndUntouched();
    const std::string guardSaid = velmora().standardError();
    const auto askedAgain = guardSaid.find("shown while Velmora is away");
    EXPECT_EQ(guardSaid.find("shown while Velmora is away", askedAgain + 1), std::string::npos)
        << "the guard asked the window manager again and again";
    ASSERT_TRUE(eventually(
        [&] { return velmora().standardError().find("covers again") != std::string::npos; },
        std::chrono::seconds{15}))
        << "the new Velmora never reported to the guard";
    expectClientUnseenAndUntouched();
}

// A menu takes the keyboard and the pointer; they stay its own even with its application in
// the background.
TEST_P(Covers, AMenuLeftOpenInTheBackgroundIsClosedByTheRelockAndItsGrabsWithIt) {
    auto canary = coveredCanary(0);
    ASSERT_TRUE(canary);
    ASSERT_TRUE(unlock(canary->overlay, canary->window, kClientColor));
    desktop().display().sendMessage(canary->window.window, "VELMORA_TEST_OPEN_MENU");
    // Half the height of the client's default 480x360 window.
    const auto menu = desktop().display().waitFor([](const WindowInfo& window) {
        return window.viewable && window.overrideRedirect && window.geometry.width == 480 &&
               window.geometry.height == 180;
    });
    ASSERT_TRUE(menu) << "the canary's menu did not open";
    bringTerminalToFront();

    // An idle time-out of 0 minutes means 10 seconds.
    EXPECT_TRUE(
        eventually([&] { return hiddenOrCovered(canary->window); }, std::chrono::seconds{20}))
        << "the canary was neither hidden nor covered after the idle relock";
    ASSERT_TRUE(desktop().xdo().run({"type", "--delay", "1", std::string(20, 'k')}));
    EXPECT_TRUE(desktop().xdo().click(menu->geometry.x + 10, menu->geometry.y + 10));
    expectClientUnseenAndUntouched();
    // The person can still unlock: the card takes clicks again.
    const auto overlay = waitForOverlayOver(activate(canary->window));
    ASSERT_TRUE(overlay);
    EXPECT_TRUE(unlock(*overlay, canary->window, kClientColor));
}

TEST_P(Covers, TabbedAndFullScreenUnderATilingManagerItStaysCovered) {
    if (GetParam() != Manager::i3) {
        GTEST_SKIP() << "openbox neither tabs nor tiles";
    }
    const auto covers = coveredCanary();
    ASSERT_TRUE(covers);
    const WindowInfo canary = covers->window;
    bringTerminalToFront();
    ASSERT_TRUE(covered(canary));
    for (const std::string command :
         {"layout tabbed", "focus left", "layout stacking", "layout splith", "fullscreen toggle"}) {
        ASSERT_TRUE(runCommand({"i3-msg", command}, desktop().environment())) << command;
        // Gives the cover its time where the canary shows; hidden in a tab it needs none.
        covered(canary);
        EXPECT_FALSE(shows(desktop().display().rootRect(), kClientColor)) << command;
    }
    expectClientUnseenAndUntouched();
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, Covers, ::testing::Values(Manager::openbox, Manager::i3),
                         [](const auto& info) {
                             return info.param == Manager::i3 ? "i3" : "openbox";
                         });

} // namespace
} // namespace velmora::e2e
