// Velmora on KDE Plasma's Wayland session: one KWin for the whole suite, Velmora and the
// test client (a Wayland client) started afresh for each test, judged by what KWin says of
// its windows, by screenshots and by what the client logs.
#include "X11Testing/ChildProcess.hpp"
#include "harness/Eventually.hpp"
#include "harness/KWinDesktop.hpp"
#include "harness/TestClientProcess.hpp"
#include "harness/VelmoraWindows.hpp"
#include "harness/XDisplay.hpp"
#include "harness/XdoTool.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>
#include <sys/wait.h>

namespace velmora::e2e {
namespace {

constexpr Rgb kCanary = Rgb::fromHex(0xff00ff);

class KWinTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (KWinSession::available() && std::filesystem::exists(VELMORA_PROGRAM)) {
            kwin_ = new KWinSession();
        }
    }
    static void TearDownTestSuite() {
        if (kwin_) {
            EXPECT_TRUE(kwin_->isRunning()) << "KWin did not stay up through the suite";
        }
        delete kwin_;
        kwin_ = nullptr;
    }

    void SetUp() override {
        if (!kwin_ || !PamService::available()) {
            GTEST_SKIP() << "needs kwin_wayland, pam_wrapper and velmora";
        }
        desktop_ = std::make_unique<KWinDesktop>(*kwin_);
        display_ = std::make_unique<XDisplay>(kwin_->xDisplay());
        xdo_ = std::make_unique<XdoTool>(kwin_->xDisplay());
    }

    void TearDown() override {
        if (HasFailure() && display_) {
            const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
            const auto shot = std::filesystem::path(VELMORA_E2E_ARTIFACTS) /
                              (std::string("KWin.") + test->name());
            display_->saveScreenshot(shot);
            std::cout << "Screen at the end: " << shot.string() << ".png\n";
        }
        if (desktop_) {
            desktop_->stop();
            if (HasFailure() && desktop_->hasVelmora()) {
                std::cout << desktop_->velmora().report();
            }
        }
        if (kwin_) {
            EXPECT_TRUE(kwin_->isRunning()) << "KWin ended during the test";
        }
    }

    void startVelmora(std::int64_t idleTimeoutMinutes = 5) {
        ASSERT_TRUE(desktop_->startVelmora(VELMORA_PROGRAM, idleTimeoutMinutes))
            << "Velmora did not start and open its panel";
    }

    KWinSession::Window launch(const std::string& name, TestClientProcess::Options options = {}) {
        const auto window = desktop_->launch(name, options);
        EXPECT_TRUE(window) << "KWin shows no window " << name;
        return window.value_or(KWinSession::Window{});
    }

    std::optional<KWinSession::Window> waitForShieldOver(const ScreenRect& frame) {
        return desktop_->waitForShieldOver(frame);
    }

    [[nodiscard]] std::string describeWindows() {
        std::ostringstream out;
        for (const auto& w : kwin_->windows()) {
            out << "  " << w.caption << " pid " << w.pid << " " << w.appId << " " << w.frame
                << (w.minimized ? " minimized" : "") << " opacity " << w.opacity
                << (w.active ? " active" : "") << (w.keepAbove ? " above" : "") << "\n";
        }
        return out.str();
    }

    [[nodiscard]] std::size_t canaryPixels() {
        return display_->capture(display_->rootRect()).count(kCanary);
    }

    /// Locks the client in front and answers its card.
    KWinSession::Window lockedInFront(const KWinSession::Window& client) {
        kwin_->activate(client.caption);
        const auto card = waitForShieldOver(client.frame);
        EXPECT_TRUE(card) << "no card over " << client.frame << " among\n" << describeWindows();
        return card.value_or(KWinSession::Window{});
    }

    /// Clicks Unlock on `card`, waits for the password prompt to have the keyboard and
    /// types the password into it.
    bool unlock(const KWinSession::Window& card) {
        const auto button = VelmoraWindows::waitForUnlockButton(*display_, card.frame);
        if (!button) {
            ADD_FAILURE() << "no Unlock button on the card at " << card.frame;
            return false;
        }
        xdo_->click(button->centerX(), button->centerY());
        if (!eventually([&] {
                for (const auto& window : kwin_->windows()) {
                    // KWin tells windows of one title apart as "Velmora <2>".
                    if (window.pid == desktop_->velmora().pid() && window.active &&
                        window.caption.starts_with("Velmora") &&
                        window.frame != desktop_->panel()) {
                        return true;
                    }
                }
                return false;
            })) {
            ADD_FAILURE() << "the password prompt did not get the keyboard among\n"
                          << describeWindows();
            return false;
        }
        EXPECT_EQ(canaryPixels(), 0u);
        xdo_->type(KWinDesktop::kPassword);
        xdo_->key("Return");
        return true;
    }

    [[nodiscard]] TestClientProcess& clientProcess(std::size_t index) {
        return desktop_->client(index);
    }
    [[nodiscard]] VelmoraProcess& velmora() { return desktop_->velmora(); }

    static KWinSession* kwin_;
    std::unique_ptr<KWinDesktop> desktop_;
    std::unique_ptr<XDisplay> display_;
    std::unique_ptr<XdoTool> xdo_;
};

KWinSession* KWinTest::kwin_ = nullptr;

TEST_F(KWinTest, LockedWindowIsCoveredInFrontAndStaysCoveredBehind) {
    startVelmora();
    const auto client = launch("locked");
    const auto card = lockedInFront(client);
    EXPECT_EQ(canaryPixels(), 0u);
    xdo_->click(client.frame.centerX(), client.frame.bottom() - 5);

    launch("other", {.color = Rgb::fromHex(0x00ff00), .appId = "org.velmora.Other"});
    EXPECT_TRUE(kwin_->activate("other"));
    EXPECT_TRUE(waitForShieldOver(client.frame)) << "the card left the locked window";
    EXPECT_EQ(canaryPixels(), 0u);
    EXPECT_EQ(clientProcess(0).countLines("button "), 0u);
}

TEST_F(KWinTest, NoKeyReachesALockedWindowEvenAsItIsActivated) {
    startVelmora();
    const auto client = launch("locked");
    lockedInFront(client);
    launch("other", {.color = Rgb::fromHex(0x00ff00), .appId = "org.velmora.Other"});
    // Beside the locked window, whose card lies above every other window.
    ASSERT_TRUE(kwin_->place("other", {20, 20, 300, 200}));
    xdo_->click(170, 120);
    xdo_->type("ok");
    ASSERT_TRUE(eventually([&] { return clientProcess(1).countLines("key ") == 2; }))
        << "keys do not reach the window in front";
    // The keys are typed while the locked window comes forward.
    testing::ChildProcess typing({"xdotool", "type", "--delay", "1", std::string(1000, 'k')},
                                 {{"DISPLAY", kwin_->xDisplay()}});
    EXPECT_TRUE(kwin_->activate("locked"));
    EXPECT_TRUE(typing.waitForExit(std::chrono::seconds{30}));
    EXPECT_EQ(clientProcess(0).countLines("key "), 0u);
    EXPECT_EQ(canaryPixels(), 0u);
}

TEST_F(KWinTest, UnlocksThroughThePasswordPrompt) {
    startVelmora();
    const auto client = launch("locked");
    ASSERT_TRUE(unlock(lockedInFront(client)));
    EXPECT_TRUE(eventually([&] {
        return display_->capture(client.frame).count(kCanary) >
               static_cast<std::size_t>(client.frame.width * client.frame.height / 2);
    })) << "the client did not show again after the unlock among\n"
        << describeWindows();
}

TEST_F(KWinTest, IdleRelockHidesTheApplication) {
    startVelmora(0);
    const auto client = launch("locked");
    ASSERT_TRUE(unlock(lockedInFront(client)));
    ASSERT_TRUE(eventually([&] { return canaryPixels() > 0; }));

    launch("other", {.color = Rgb::fromHex(0x00ff00), .appId = "org.velmora.Other"});
    ASSERT_TRUE(kwin_->activate("other"));
    // An idle time-out of 0 minutes is the shortest, ten seconds.
    EXPECT_TRUE(eventually(
        [&] {
            const auto window = kwin_->window("locked");
            return window && window->minimized;
        },
        std::chrono::seconds{20}));
    // The frame KWin shows next no longer has it.
    EXPECT_TRUE(eventually([&] { return canaryPixels() == 0; }, std::chrono::seconds{1}));
    EXPECT_TRUE(kwin_->activate("locked"));
    EXPECT_TRUE(waitForShieldOver(client.frame));
    EXPECT_EQ(canaryPixels(), 0u);
}

TEST_F(KWinTest, WindowOpenedWhileLockedNeverShows) {
    startVelmora();
    const auto client = launch("locked", {.openWindowAfter = std::chrono::seconds{3}});
    lockedInFront(client);
    // Screens taken as the locked process opens another window, and for a second after.
    std::size_t shown = 0;
    int shots = 0;
    std::optional<std::chrono::steady_clock::time_point> opened;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds{10};
    while (std::chrono::steady_clock::now() < deadline &&
           (!opened || std::chrono::steady_clock::now() - *opened < std::chrono::seconds{1})) {
        shown = std::max(shown, canaryPixels());
        ++shots;
        if (!opened && kwin_->window("locked 2")) {
            opened = std::chrono::steady_clock::now();
        }
    }
    EXPECT_TRUE(opened) << "the client opened no second window";
    EXPECT_EQ(shown, 0u) << "in " << shots << " screenshots";
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
    ASSERT_TRUE(client) << "no X11 window through Xwayland among\n" << describeWindows();
    lockedInFront(*client);
    EXPECT_EQ(canaryPixels(), 0u);
    xdo_->type("leak");
    EXPECT_EQ(clientProcess(0).countLines("key "), 0u);
}

TEST_F(KWinTest, InPlasmasTrayItsItemOffersTheMenuAndOpensThePanel) {
    const auto items = desktop_->output() / "tray-items";
    const auto lines = [&] {
        std::vector<std::string> read;
        std::ifstream file(items);
        for (std::string line; std::getline(file, line);) {
            read.push_back(line);
        }
        return read;
    };
    testing::ChildProcess watcher({VELMORA_TRAY_WATCHER, items.string()}, desktop_->environment());
    ASSERT_TRUE(eventually([&] { return !lines().empty(); })) << "the tray did not come up";
    ASSERT_TRUE(desktop_->startVelmora(VELMORA_PROGRAM, 5, false));
    ASSERT_TRUE(eventually([&] { return lines().size() == 2; })) << "no item in the tray";
    const std::string item = "--dest=" + lines()[1];
    EXPECT_FALSE(kwin_->window("Velmora")) << "the panel opened by itself beside a tray";

    const std::string menuPath =
        kwin_->call({item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                     "string:org.kde.StatusNotifierItem", "string:Menu"});
    const auto quoted = menuPath.find('"');
    ASSERT_NE(quoted, std::string::npos) << "the item names no menu";
    const std::string menu =
        kwin_->call({item, menuPath.substr(quoted + 1, menuPath.find('"', quoted + 1) - quoted - 1),
                     "com.canonical.dbusmenu.GetLayout", "int32:0", "int32:-1", "array:string:"});
    EXPECT_NE(menu.find("Lock All"), std::string::npos) << menu;
    EXPECT_NE(menu.find("Quit Velmora"), std::string::npos) << menu;
    // A click on the icon, as Plasma's tray passes it on.
    kwin_->call(
        {item, "/StatusNotifierItem", "org.kde.StatusNotifierItem.Activate", "int32:0", "int32:0"});
    EXPECT_TRUE(desktop_->waitForPanel()) << "activating the item opened no panel";
}

TEST_F(KWinTest, KilledVelmoraLeavesTheWindowHiddenAndComesBack) {
    startVelmora();
    const auto client = launch("locked");
    lockedInFront(client);
    const auto killedAt = std::chrono::steady_clock::now();
    ::kill(velmora().pid(), SIGKILL);
    ASSERT_TRUE(eventually([&] {
        const auto window = kwin_->window("locked");
        return window && window->minimized;
    })) << "the locked window was not hidden";
    EXPECT_LT(std::chrono::steady_clock::now() - killedAt, std::chrono::milliseconds{500});
    EXPECT_EQ(canaryPixels(), 0u);
    // The guard starts Velmora again, which covers the window when it comes forward. After
    // the kill KWin may leave new scripts unrun for half a minute (Velmora's and these
    // tests' own), and the guard then starts Velmora once more.
    ASSERT_TRUE(
        eventually([&] { return velmora().sessionPids().size() == 1; }, std::chrono::seconds{10}));
    EXPECT_TRUE(eventually(
        [&] {
            kwin_->activate("locked");
            return waitForShieldOver(client.frame).has_value();
        },
        std::chrono::seconds{90}))
        << "the Velmora started again did not cover the window among\n"
        << describeWindows();
    EXPECT_EQ(canaryPixels(), 0u);
}

} // namespace
} // namespace velmora::e2e
