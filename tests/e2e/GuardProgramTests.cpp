// velmora-guard on its own, with the test in Velmora's place: what ends it, and what makes it
// start Velmora again.
#include "Support/TemporaryDirectory.hpp"
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

#include <sys/socket.h>
#include <unistd.h>

namespace velmora::e2e {
namespace {

using namespace std::chrono_literals;

class GuardProgram : public EndToEndTest {
protected:
    void SetUp() override {
        EndToEndTest::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (!std::filesystem::exists(VELMORA_GUARD)) {
            GTEST_SKIP() << "velmora-guard is not built";
        }
        startDesktop({.windowAnimations = false});
        int pair[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair), 0);
        channel_ = pair[0];
        const std::string starts = files_.path("starts");
        // Stands in for Velmora: notes each start and the channel it was handed, and ends.
        const std::string restart = "echo \"$VELMORA_GUARD_FD\" >>" + starts;
        guard_ = std::make_unique<testing::ChildProcess>(
            std::vector<std::string>{"sh", "-c",
                                     "exec \"$0\" \"$@\" 3<&" + std::to_string(pair[1]) + " 2>" +
                                         files_.path("guard.log"),
                                     VELMORA_GUARD, std::to_string(velmora_.pid()), "/bin/sh", "-c",
                                     restart},
            desktop().environment(), pair[1]);
        ::close(pair[1]);
    }

    void TearDown() override {
        if (channel_ >= 0) {
            ::close(channel_);
        }
        guard_.reset();
        EndToEndTest::TearDown();
    }

    void send(const std::string& lines) const {
        ASSERT_EQ(::write(channel_, lines.data(), lines.size()),
                  static_cast<ssize_t>(lines.size()));
    }

    testing::TemporaryDirectory files_;
    // The process the guard takes for Velmora.
    testing::ChildProcess velmora_{{"sleep", "60"}};
    int channel_ = -1;
    std::unique_ptr<testing::ChildProcess> guard_;
};

TEST_F(GuardProgram, AQuitEndsItWithoutStartingVelmoraAgain) {
    send("starting\nwatching 1\nquit\n");
    ASSERT_TRUE(guard_->waitForExit(5s));
    EXPECT_EQ(guard_->exitStatus(), 0);
    EXPECT_EQ(files_.read("starts"), "");
    EXPECT_TRUE(velmora_.isRunning());
}

TEST_F(GuardProgram, WatchedAndProtectedAppsStayIconifiedWhileVelmoraKeepsEndingAndIsHeldBack) {
    // Watched by its process only: no rule names it.
    const auto window = launchClient("client", {.appId = "", .wmClass = "Watched"});
    ASSERT_TRUE(window);
    // With a menu open, which holds the keyboard and the pointer.
    desktop().display().sendMessage(window->window, "VELMORA_TEST_OPEN_MENU");
    const auto isMenu = [](const WindowInfo& shown) {
        return shown.overrideRedirect && shown.geometry.height == 180;
    };
    const auto isOpenMenu = [&](const WindowInfo& shown) {
        return shown.viewable && isMenu(shown);
    };
    const auto menu = desktop().display().waitFor(isOpenMenu);
    ASSERT_TRUE(menu) << "the client's menu did not open";
    // Told what names the protected application's windows, and answering each report.
    send("protects app=org.example.Other app=org.velmora.TestClient class=VelmoraTestClient\n");
    char answer[16] = {};
    ASSERT_EQ(::read(channel_, answer, sizeof answer), 6);
    EXPECT_STREQ(answer, "alive\n");
    send("watching " + std::to_string(client().pid()) + "\n");
    ::close(channel_);
    channel_ = -1;
    const auto hidden = [&] { return desktop().display().wmState(window->window) == 3u; };
    ASSERT_TRUE(eventually(hidden)) << "the client was not iconified";
    const auto noMenuOpen = [&] { return !desktop().display().find(isOpenMenu); };
    EXPECT_TRUE(eventually(noMenuOpen)) << "the client's menu stayed open";
    // Its grabs went with it; one it opens meanwhile is closed as it maps.
    ASSERT_TRUE(desktop().xdo().run({"type", "--delay", "1", "kkkkk"}));
    desktop().display().sendMessage(window->window, "VELMORA_TEST_OPEN_MENU");
    ASSERT_TRUE(desktop().display().waitFor(
        [&](const WindowInfo& shown) { return isMenu(shown) && shown.window != menu->window; }));
    EXPECT_TRUE(eventually(noMenuOpen)) << "a menu opened later stayed open";

    // Brought back while the Velmoras started again never report.
    constexpr const char* kShownAgain = "shown while Velmora is away";
    ASSERT_TRUE(desktop().xdo().run({"windowactivate", std::to_string(window->window)}));
    ASSERT_TRUE(eventually([&] {
        return files_.read("guard.log").find(kShownAgain) != std::string::npos && hidden();
    })) << files_.read("guard.log");
    EXPECT_TRUE(client().logLines().empty());

    // A Velmora that keeps ending is started three times a minute, each with a channel.
    ASSERT_TRUE(eventually([&] {
        return files_.read("guard.log").find("starting it again in") != std::string::npos;
    })) << files_.read("guard.log");
    EXPECT_EQ(files_.read("starts"), "3\n3\n3\n");
    // No process of the protected application ran before. Iconified as it maps, it may never
    // be painted.
    const auto later = desktop().launchClient("later", {.appId = ""});
    EXPECT_TRUE(eventually([&] {
        const auto shown = desktop().display().find(
            [&](const WindowInfo& info) { return info.pid == later->pid(); });
        return shown && desktop().display().wmState(shown->window) == 3u;
    })) << files_.read("guard.log");
}

} // namespace
} // namespace velmora::e2e
