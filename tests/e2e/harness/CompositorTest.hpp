#pragma once

#include "harness/CompositorDesktop.hpp"
#include "harness/Eventually.hpp"
#include "harness/VelmoraWindows.hpp"

#include <csignal>
#include <gtest/gtest.h>
#include <iostream>

namespace velmora::e2e {

/// A test of Velmora on a Wayland compositor (KWinSession, SwaySession): one compositor for
/// the whole suite, Velmora and the test client (a Wayland client) started afresh for each
/// test, judged by what the compositor says of its windows, by screenshots and by what the
/// client logs. The scenarios every compositor must pass are here.
template <class Session> class CompositorTest : public ::testing::Test {
protected:
    using Window = typename Session::Window;
    static constexpr Rgb kCanary = Rgb::fromHex(0xff00ff);
    static inline const TestClientProcess::Options kOther{.color = Rgb::fromHex(0x00ff00),
                                                          .appId = "org.velmora.Other"};

    static void SetUpTestSuite() {
        if (Session::available() && std::filesystem::exists(VELMORA_PROGRAM)) {
            session_ = new Session();
        }
    }
    static void TearDownTestSuite() {
        delete session_;
        session_ = nullptr;
    }

    void SetUp() override {
        if (!session_ || !PamService::available()) {
            GTEST_SKIP() << "needs the compositor, pam_wrapper and velmora";
        }
        desktop_ = std::make_unique<CompositorDesktop<Session>>(*session_);
    }

    void TearDown() override {
        if (!desktop_) {
            return;
        }
        if (HasFailure()) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const auto shot = std::filesystem::path(VELMORA_E2E_ARTIFACTS) /
                              (std::string(test->test_suite_name()) + "." + test->name() + ".ppm");
            std::filesystem::create_directories(shot.parent_path());
            session_->capture().writePpm(shot);
            std::cout << "Screen at the end: " << shot.string() << "\nWindows:\n";
            for (const Window& w : session_->windows()) {
                std::cout << "  " << w.caption << " pid " << w.pid << " " << w.appId << " "
                          << w.frame << (w.minimized ? " minimized" : "")
                          << (w.active ? " active" : "") << "\n";
            }
            if (desktop_->hasVelmora()) {
                std::cout << velmora().report();
            }
        }
        desktop_->stop();
        EXPECT_TRUE(session_->isRunning()) << "the compositor ended during the test";
    }

    void startVelmora(std::int64_t idleTimeoutMinutes = 5) {
        ASSERT_TRUE(desktop_->startVelmora(VELMORA_PROGRAM, idleTimeoutMinutes))
            << "Velmora did not start and open its panel";
    }
    [[nodiscard]] VelmoraProcess& velmora() { return desktop_->velmora(); }

    Window launch(const std::string& name, const TestClientProcess::Options& options = {}) {
        const auto window = desktop_->launch(name, options);
        EXPECT_TRUE(window) << "the compositor shows no window " << name;
        return window.value_or(Window{});
    }

    [[nodiscard]] std::size_t canaryPixels() { return session_->capture().count(kCanary); }
    [[nodiscard]] std::size_t keysOf(std::size_t client) {
        return desktop_->client(client).countLines("key ");
    }

    /// Brings the client forward and answers the card over it.
    Window lockedInFront(const Window& client) {
        session_->activate(client.caption);
        const auto card = desktop_->waitForShieldOver(client.frame);
        EXPECT_TRUE(card) << "no card over " << client.frame;
        return card.value_or(Window{});
    }

    /// Clicks Unlock on `card`, waits for the password prompt to have the keyboard and types
    /// the password into it.
    bool unlock(const Window& card) {
        const auto button =
            VelmoraWindows::waitForUnlockButton([&] { return session_->capture(card.frame); });
        if (!button) {
            ADD_FAILURE() << "no Unlock button on the card at " << card.frame;
            return false;
        }
        session_->click(button->centerX(), button->centerY());
        if (!eventually(
                [&] {
                    // A compositor may tell windows of one title apart as "Velmora <2>".
                    for (const Window& w : session_->windows()) {
                        if (w.pid == velmora().pid() && w.active &&
                            w.caption.starts_with("Velmora") && w.frame != desktop_->panel()) {
                            return true;
                        }
                    }
                    return false;
                },
                VelmoraWindows::kFirstPromptTimeout)) {
            ADD_FAILURE() << "the password prompt did not get the keyboard";
            return false;
        }
        EXPECT_EQ(canaryPixels(), 0u);
        session_->type(CompositorDesktop<Session>::kPassword);
        session_->key("Return");
        return true;
    }

    /// Locked in front, then behind another application, then brought forward while keys are
    /// typed: no pixel, click or key reaches it, and the other application gets its keys.
    /// Then the password shows it again.
    void expectLockedWindowCoveredAndDeaf() {
        startVelmora();
        const Window client = launch("locked");
        lockedInFront(client);
        EXPECT_EQ(canaryPixels(), 0u);
        session_->click(client.frame.centerX(), client.frame.bottom() - 5);
        session_->type("leak");

        launch("other", kOther);
        ASSERT_TRUE(session_->activate("other"));
        session_->type("ok");
        ASSERT_TRUE(eventually([&] { return keysOf(1) == 2; })) << "keys do not reach the other";
        // Where the compositor tiles, beside the other now.
        const auto locked = desktop_->window("locked");
        ASSERT_TRUE(locked);
        EXPECT_TRUE(desktop_->waitForShieldOver(locked->frame))
            << "the locked window lost its card";
        EXPECT_EQ(canaryPixels(), 0u);
        const auto typing = session_->startTyping(std::string(1000, 'k'));
        ASSERT_TRUE(session_->activate("locked"));
        EXPECT_TRUE(typing->waitForExit(std::chrono::seconds{30}));
        EXPECT_EQ(keysOf(0), 0u);
        EXPECT_EQ(desktop_->client(0).countLines("button "), 0u);
        EXPECT_EQ(canaryPixels(), 0u);

        ASSERT_TRUE(unlock(lockedInFront(*locked)));
        EXPECT_TRUE(eventually([&] {
            return session_->capture(locked->frame).count(kCanary) >
                   static_cast<std::size_t>(locked->frame.width * locked->frame.height / 2);
        })) << "the client did not show again after the unlock";
    }

    /// Brings a hidden window titled `name` forward (where the compositor may place it anew)
    /// and answers the card over it.
    Window lockedInFrontAgain(const std::string& name) {
        session_->activate(name);
        std::optional<Window> shown;
        EXPECT_TRUE(eventually([&] {
            shown = desktop_->window(name);
            return shown && !shown->minimized;
        })) << name
            << " did not come back";
        return shown ? lockedInFront(*shown) : Window{};
    }

    /// Unlocked, then left behind another application past its idle time-out: hidden, and
    /// covered when it comes forward again.
    void expectIdleRelockHides() {
        startVelmora(0);
        ASSERT_TRUE(unlock(lockedInFront(launch("locked"))));
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
        // The frame the compositor shows next no longer has it.
        EXPECT_TRUE(eventually([&] { return canaryPixels() == 0; }, std::chrono::seconds{1}));
        lockedInFrontAgain("locked");
        EXPECT_EQ(canaryPixels(), 0u);
    }

    /// A locked process opens another window: no screen shows it, then or for a second after.
    void expectWindowOpenedWhileLockedUnseen() {
        startVelmora();
        lockedInFront(launch("locked", {.openWindowAfter = std::chrono::seconds{3}}));
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

    /// An entry saved once Velmora runs, sorted before the protected one, names the class the
    /// client runs under, which only the protected application's own rules still tie to it.
    void expectClaimingEntryLeavesItCovered() {
        startVelmora();
        desktop_->install({"aaa.Claim", "Claim", "/bin/true", "TestClient"});
        lockedInFront(launch("claimed", {.appId = "TestClient"}));
        EXPECT_EQ(canaryPixels(), 0u);
    }

    /// An X11 client through the compositor's Xwayland is locked like a Wayland one.
    void expectXwaylandWindowCoveredAndDeaf() {
        startVelmora();
        const auto client = desktop_->launchThroughXwayland("x11");
        ASSERT_TRUE(client) << "no X11 window through Xwayland";
        lockedInFront(*client);
        EXPECT_EQ(canaryPixels(), 0u);
        session_->type("leak");
        EXPECT_EQ(keysOf(0), 0u);
    }

    /// Minimize on the card hides the window; brought back with nothing else to take the
    /// keyboard meanwhile, it offers its card again, not a bare cover.
    void expectMinimizedAndBroughtBackOffersItsCard() {
        startVelmora();
        const Window card = lockedInFront(launch("locked"));
        const auto button =
            VelmoraWindows::waitForUnlockButton([&] { return session_->capture(card.frame); });
        ASSERT_TRUE(button) << "no Unlock button on the card at " << card.frame;
        // Minimize lies below the Unlock button.
        session_->click(button->centerX(), button->bottom() + 20);
        std::optional<Window> locked;
        ASSERT_TRUE(eventually([&] {
            locked = desktop_->window("locked");
            return locked && locked->minimized;
        })) << "Minimize did not hide it";
        EXPECT_EQ(canaryPixels(), 0u);
        const Window again = lockedInFrontAgain("locked");
        EXPECT_TRUE(VelmoraWindows::waitForUnlockButton([&] {
            return session_->capture(again.frame);
        })) << "no card on its cover";
        EXPECT_EQ(canaryPixels(), 0u);
    }

    /// Velmora killed while it covers: the guard hides the window at once and starts Velmora
    /// again, which covers the window when it comes forward.
    void expectKilledVelmoraHidesAndComesBack() {
        startVelmora();
        const Window client = launch("locked");
        lockedInFront(client);
        // The guard hears of the protected processes once a heartbeat.
        ASSERT_TRUE(eventually([&] {
            return velmora().standardError().find("Watching protected processes: " +
                                                  std::to_string(desktop_->client(0).pid())) !=
                   std::string::npos;
        }));
        const auto killedAt = std::chrono::steady_clock::now();
        ::kill(velmora().pid(), SIGKILL);
        // Judged by when each look began: how long a look takes under load does not count.
        bool shownLate = false;
        ASSERT_TRUE(eventually([&] {
            const auto lookedAt = std::chrono::steady_clock::now();
            const auto window = desktop_->window("locked");
            shownLate = shownLate || (window && !window->minimized &&
                                      lookedAt - killedAt > std::chrono::milliseconds{500});
            return window && window->minimized;
        })) << "the locked window was not hidden";
        EXPECT_FALSE(shownLate) << "the locked window was still shown 500 ms after the kill";
        EXPECT_EQ(canaryPixels(), 0u);
        ASSERT_TRUE(eventually([&] { return velmora().sessionPids().size() == 1; },
                               std::chrono::seconds{10}));
        // The Velmora the guard started covers it once it is brought forward.
        EXPECT_TRUE(eventually(
            [&] {
                session_->activate("locked");
                const auto locked = desktop_->window("locked");
                return locked && desktop_->waitForShieldOver(locked->frame).has_value();
            },
            std::chrono::seconds{90}))
            << "the Velmora started again did not cover the window";
        EXPECT_EQ(canaryPixels(), 0u);
    }

    static inline Session* session_ = nullptr;
    std::unique_ptr<CompositorDesktop<Session>> desktop_;
};

} // namespace velmora::e2e
