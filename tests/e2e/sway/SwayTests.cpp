// Velmora on sway: the suite's one headless sway, Velmora and the test client (a Wayland
// client) started afresh for each test, judged by what sway says of its windows, by grim's
// screenshots and by what the client logs.
#include "SharedSway.hpp"
#include "X11Testing/ChildProcess.hpp"
#include "harness/CompositorDesktop.hpp"
#include "harness/Eventually.hpp"
#include "harness/VelmoraWindows.hpp"

#include <csignal>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

namespace velmora::e2e {
namespace {

using SwayDesktop = CompositorDesktop<SwaySession>;
using Window = SwaySession::Window;
constexpr Rgb kCanary = Rgb::fromHex(0xff00ff);
const TestClientProcess::Options kOther{.color = Rgb::fromHex(0x00ff00),
                                        .appId = "org.velmora.Other"};

class SwayTest : public ::testing::Test {
protected:
    void SetUp() override {
        sway_ = sharedSway();
        if (!sway_ || !PamService::available() || !std::filesystem::exists(VELMORA_PROGRAM)) {
            GTEST_SKIP() << "needs sway, grim, wtype, pam_wrapper and velmora";
        }
        desktop_ = std::make_unique<SwayDesktop>(*sway_);
        ASSERT_TRUE(desktop_->startVelmora(VELMORA_PROGRAM))
            << "Velmora did not start and open its panel";
    }

    void TearDown() override {
        if (!desktop_) {
            return;
        }
        if (HasFailure()) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const auto shot = std::filesystem::path(VELMORA_E2E_ARTIFACTS) /
                              (std::string("Sway.") + test->name() + ".ppm");
            std::filesystem::create_directories(shot.parent_path());
            sway_->capture().writePpm(shot);
            std::cout << "Screen at the end: " << shot.string() << "\nWindows:\n"
                      << describeWindows() << desktop_->velmora().report();
        }
        desktop_->stop();
        EXPECT_TRUE(sway_->isRunning()) << "sway ended during the test";
    }

    [[nodiscard]] std::string describeWindows() {
        std::ostringstream out;
        for (const Window& w : sway_->windows()) {
            out << "  " << w.caption << " pid " << w.pid << " " << w.appId << " " << w.frame
                << (w.focused ? " focused" : "") << (w.floating ? " floating" : "")
                << (w.minimized ? " hidden" : "") << "\n";
        }
        return out.str();
    }

    Window launch(const std::string& name, const TestClientProcess::Options& options = {}) {
        const auto window = desktop_->launch(name, options);
        EXPECT_TRUE(window) << "sway shows no window " << name;
        return window.value_or(Window{});
    }

    [[nodiscard]] std::size_t canaryPixels() { return sway_->capture().count(kCanary); }

    /// Brings the client forward and answers the card over it.
    Window lockedInFront(const Window& client) {
        sway_->activate(client.caption);
        const auto card = desktop_->waitForShieldOver(client.frame);
        EXPECT_TRUE(card) << "no card over " << client.frame << " among\n" << describeWindows();
        return card.value_or(Window{});
    }

    [[nodiscard]] std::size_t keysOf(std::size_t client) {
        return desktop_->client(client).countLines("key ");
    }

    SwaySession* sway_ = nullptr;
    std::unique_ptr<SwayDesktop> desktop_;
};

TEST_F(SwayTest, LockedWindowIsCoveredInFrontAndBehindAndNoKeyReachesIt) {
    const Window client = launch("locked");
    lockedInFront(client);
    EXPECT_EQ(canaryPixels(), 0u);
    sway_->type("leak");

    launch("other", kOther);
    ASSERT_TRUE(sway_->activate("other"));
    sway_->type("ok");
    ASSERT_TRUE(eventually([&] { return keysOf(1) == 2; })) << "keys do not reach the other";
    // Tiled beside the other now.
    EXPECT_TRUE(desktop_->waitForShieldOver(sway_->window("locked")->frame))
        << "the locked window lost its cover";
    EXPECT_EQ(canaryPixels(), 0u);
    // Typed while the locked window comes forward.
    testing::ChildProcess typing({"wtype", "-s", "50", "-d", "2", std::string(300, 'k')},
                                 sway_->environment());
    ASSERT_TRUE(sway_->activate("locked"));
    EXPECT_TRUE(typing.waitForExit(std::chrono::seconds{30}));
    EXPECT_EQ(keysOf(0), 0u);
    EXPECT_EQ(canaryPixels(), 0u);
}

TEST_F(SwayTest, MinimizedAndBroughtBackItOffersItsCardAndUnlocksThroughThePrompt) {
    launch("locked");
    const auto unlockButton = [&](const Window& client) {
        const Window card = lockedInFront(client);
        const auto button =
            VelmoraWindows::waitForUnlockButton([&] { return sway_->capture(card.frame); });
        EXPECT_TRUE(button) << "no Unlock button on the card at " << card.frame << " among\n"
                            << describeWindows();
        return button.value_or(ScreenRect{});
    };
    ScreenRect button = unlockButton(*sway_->window("locked"));
    // Minimize lies below the Unlock button.
    sway_->click(button.centerX(), button.bottom() + 20);
    ASSERT_TRUE(eventually([&] { return sway_->window("locked")->minimized; }));
    sway_->activate("locked");
    const Window client = *sway_->waitForWindow("locked");
    button = unlockButton(client);
    sway_->click(button.centerX(), button.centerY());
    ASSERT_TRUE(eventually([&] {
        const auto prompt = sway_->windows();
        return std::any_of(prompt.begin(), prompt.end(), [&](const Window& w) {
            return w.pid == desktop_->velmora().pid() && w.focused &&
                   w.caption.starts_with("Velmora") && w.frame != desktop_->panel();
        });
    })) << "the password prompt did not get the keyboard among\n"
        << describeWindows();
    EXPECT_EQ(canaryPixels(), 0u);
    sway_->type(SwayDesktop::kPassword);
    sway_->key("Return");
    EXPECT_TRUE(eventually([&] {
        return sway_->capture(client.frame).count(kCanary) >
               static_cast<std::size_t>(client.frame.width * client.frame.height / 2);
    })) << "the client did not show again after the unlock among\n"
        << describeWindows();
}

TEST_F(SwayTest, KilledVelmoraLeavesTheWindowHiddenAndComesBack) {
    const Window client = launch("locked");
    lockedInFront(client);
    // The guard hears of the protected processes once a heartbeat.
    ASSERT_TRUE(eventually([&] {
        return desktop_->velmora().standardError().find(
                   "Watching protected processes: " + std::to_string(desktop_->client(0).pid())) !=
               std::string::npos;
    }));
    const auto killedAt = std::chrono::steady_clock::now();
    ::kill(desktop_->velmora().pid(), SIGKILL);
    ASSERT_TRUE(eventually([&] {
        const auto window = sway_->window("locked");
        return window && window->minimized;
    })) << "the locked window was not hidden among\n"
        << describeWindows();
    EXPECT_LT(std::chrono::steady_clock::now() - killedAt, std::chrono::milliseconds{500});
    EXPECT_EQ(canaryPixels(), 0u);
    // The guard starts Velmora again, which covers the window when it comes forward.
    ASSERT_TRUE(eventually([&] { return desktop_->velmora().sessionPids().size() == 1; },
                           std::chrono::seconds{10}));
    EXPECT_TRUE(eventually(
        [&] {
            sway_->activate("locked");
            return desktop_->waitForShieldOver(sway_->window("locked")->frame).has_value();
        },
        std::chrono::seconds{30}))
        << "the Velmora started again did not cover the window among\n"
        << describeWindows();
    EXPECT_EQ(canaryPixels(), 0u);
}

} // namespace
} // namespace velmora::e2e
