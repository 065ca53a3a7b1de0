// Velmora dies, or hangs, while it covers a protected application: its guard iconifies the
// application at once and starts Velmora again, which locks it anew. And the other way round:
// a guard that dies or is stopped is replaced at once, so ending both takes one instant.
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

#include <algorithm>
#include <csignal>

namespace velmora::e2e {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr auto kHiddenWithin = milliseconds{500};
constexpr auto kRunningAgainWithin = milliseconds{3000};
// The guard gives a silent Velmora 2 s after its last report, sent every 0.5 s.
constexpr auto kHangNoticedWithin = milliseconds{3000};
// Velmora hears of a dead guard at once and looks for a stopped one ten times a second.
constexpr auto kGuardReplacedWithin = milliseconds{1000};

class FailClosed : public RunningVelmoraTest {
protected:
    TestDesktop::Options desktopOptions() const override {
        return {.windowAnimations = false, .protectedApps = {testClientEntry()}};
    }

    /// The test client, in front and covered, once the guard knows it.
    std::optional<WindowInfo> coveredClient() {
        const auto covered = launchCoveredClient("client");
        if (!covered) {
            return std::nullopt;
        }
        // The guard hears of it with Velmora's next report.
        if (!eventually([&] { return guardsToldOfClient() >= 1; })) {
            ADD_FAILURE() << "the guard never heard of the client";
            return std::nullopt;
        }
        return covered->window;
    }

    /// How many guards in turn have heard of the client: each says so once.
    std::size_t guardsToldOfClient() {
        const std::string watching =
            "Watching protected processes: " + std::to_string(client().pid());
        const std::string said = velmora().standardError();
        std::size_t count = 0;
        for (auto at = said.find(watching); at != std::string::npos;
             at = said.find(watching, at + 1)) {
            ++count;
        }
        return count;
    }

    /// How long after `since` `condition` held; fails past `timeout`.
    static std::optional<milliseconds> timeUntil(Clock::time_point since,
                                                 const std::function<bool()>& condition,
                                                 milliseconds timeout) {
        if (!eventually(condition, timeout)) {
            return std::nullopt;
        }
        return std::chrono::duration_cast<milliseconds>(Clock::now() - since);
    }

    /// After the Velmora with `pid` stopped at `since`: the client is hidden in time, a new
    /// Velmora runs in time, covers the client once it is brought back, and unlocks it.
    void expectHiddenThenLockedAgain(const WindowInfo& window, pid_t pid, Clock::time_point since,
                                     milliseconds hiddenWithin) {
        const auto hidden = timeUntil(
            since, [&] { return isHidden(window); }, hiddenWithin * 4);
        ASSERT_TRUE(hidden) << "the covered client stayed on the screen";
        EXPECT_LE(*hidden, hiddenWithin)
            << "the client was hidden only after " << hidden->count() << " ms";

        const auto again = timeUntil(
            since,
            [&] {
                const auto pids = velmora().sessionPids();
                return std::any_of(pids.begin(), pids.end(), [&](pid_t p) { return p != pid; });
            },
            kRunningAgainWithin * 3);
        ASSERT_TRUE(again) << "Velmora was not started again";
        EXPECT_LE(*again, kRunningAgainWithin)
            << "Velmora ran again only after " << again->count() << " ms";
        ASSERT_TRUE(eventually(
            [&] { return velmora().standardError().find("covers again") != std::string::npos; },
            std::chrono::seconds{15}))
            << "the new Velmora never reported to the guard";
        EXPECT_TRUE(isHidden(window)) << "the client came back before the new Velmora covered";
        EXPECT_EQ(velmora().guardPids().size(), 1u);

        const WindowInfo back = activate(window);
        const auto overlay = waitForOverlayOver(back);
        ASSERT_TRUE(overlay) << "the client, brought back, was not covered";
        EXPECT_FALSE(shows(back.frame, kClientColor));
        EXPECT_TRUE(unlock(*overlay, back, kClientColor));
        EXPECT_TRUE(client().logLines().empty()) << "input reached the client while it was locked";
    }
};

TEST_F(FailClosed, AKilledOrStoppedGuardIsReplacedSoKillingVelmoraNextStillHidesTheApp) {
    const auto window = coveredClient();
    ASSERT_TRUE(window);
    std::size_t guardsTold = 1;
    for (const int signal : {SIGKILL, SIGSTOP}) {
        const auto guards = velmora().guardPids();
        ASSERT_EQ(guards.size(), 1u);
        const auto signalled = Clock::now();
        ASSERT_EQ(::kill(guards.front(), signal), 0);
        ++guardsTold;
        const auto replaced = timeUntil(
            signalled, [&] { return guardsToldOfClient() >= guardsTold; },
            kGuardReplacedWithin * 5);
        ASSERT_TRUE(replaced) << "no new guard heard of the client after signal " << signal;
        EXPECT_LE(*replaced, kGuardReplacedWithin);
        if (signal == SIGSTOP) {
            EXPECT_TRUE(eventually([&] { return ::kill(guards.front(), 0) != 0; }))
                << "the stopped guard was left behind";
        }
    }
    const pid_t pid = velmora().pid();
    const auto killed = Clock::now();
    ASSERT_EQ(::kill(pid, SIGKILL), 0);
    expectHiddenThenLockedAgain(*window, pid, killed, kHiddenWithin);
}

TEST_F(FailClosed, AHungVelmoraIsKilledAndComesBackLocked) {
    const auto window = coveredClient();
    ASSERT_TRUE(window);
    const pid_t pid = velmora().pid();
    const auto stopped = Clock::now();
    ASSERT_EQ(::kill(pid, SIGSTOP), 0);
    expectHiddenThenLockedAgain(*window, pid, stopped, kHangNoticedWithin);
    EXPECT_FALSE(velmora().isRunning()) << "the hung Velmora was left behind";
}

} // namespace
} // namespace velmora::e2e
