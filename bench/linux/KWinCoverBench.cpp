// Velmora on KDE Plasma's Wayland session: how soon a locked application that comes to the
// front is covered, and what Velmora weighs at rest there.
//
// One KWin in its X11 windowed mode on a private Xvfb, Velmora and the test client (a Wayland
// client) on it, an unprotected backdrop filling the screen behind. The client is locked and
// covered once, so that its card is warm. Each round then presses Minimize on the card (the
// client is hidden, the card parked), lets that settle, and activates the client through a
// KWin script that notes KWin's clock as it does; meanwhile a thread of its own watches the
// pixels beside the card and notes when the dark cover is on screen, and then the card's
// Unlock button. The locked client itself is never drawn: before the cover, the backdrop
// shows through it.
//
// For comparison, KWin's own time to show a window it brings forward: an unprotected client,
// activated from behind the backdrop, timed the same way.
//
// Then, with the client covered again and nothing moving for a while, the kernel's accounting
// of Velmora's memory is read from /proc.
#include "harness/Eventually.hpp"
#include "harness/KWinDesktop.hpp"
#include "harness/XDisplay.hpp"
#include "support/BenchDesktop.hpp"
#include "support/FakeInput.hpp"
#include "support/LockCardButtons.hpp"
#include "support/ProcessMemory.hpp"
#include "support/Summary.hpp"

#include <atomic>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace velmora::bench {
namespace {

using Clock = std::chrono::system_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr double kTargetP95 = 16.7;
constexpr int kRounds = 20;
constexpr int kWarmUpRounds = 2;
constexpr auto kSettle = std::chrono::milliseconds{400};
constexpr auto kQuietSpell = std::chrono::seconds{10};
constexpr e2e::ScreenRect kClientFrame{300, 200, 480, 360};
constexpr e2e::Rgb kBackdropColor = e2e::Rgb::fromHex(0x20a040);
constexpr e2e::Rgb kBrandFill = e2e::Rgb::fromUnit(0.25, 0.25, 0.4);
// Left of the card, clear of the cover's rounded corners.
constexpr e2e::ScreenRect kCoverSample{kClientFrame.x + 40, kClientFrame.y + 150, 16, 16};
// An unprotected client beside the locked one, for KWin's own time to show a window.
constexpr e2e::ScreenRect kPlainFrame{820, 200, 400, 300};
constexpr e2e::Rgb kPlainColor = e2e::Rgb::fromHex(0x2040c0);
constexpr e2e::ScreenRect kPlainSample{kPlainFrame.x + 100, kPlainFrame.y + 100, 16, 16};

struct Samples {
    std::vector<double> cover;
    std::vector<double> card;
    std::vector<double> plain;
};

class KWinCover {
public:
    KWinCover() : desktop_(kwin_), display_(kwin_.xDisplay()), input_(kwin_.xDisplay()) {
        if (!desktop_.startVelmora(BenchDesktop::program())) {
            throw std::runtime_error("velmora did not start on KWin");
        }
        if (!desktop_.launch("backdrop", {.color = kBackdropColor, .appId = "org.velmora.Other"}) ||
            !kwin_.place("backdrop", {0, 0, 1280, 800}) || !desktop_.launch("locked") ||
            !kwin_.place("locked", kClientFrame)) {
            throw std::runtime_error("the clients did not show");
        }
        if (!kwin_.activate("locked") || !desktop_.waitForShieldOver(kClientFrame)) {
            throw std::runtime_error("the client was not covered");
        }
        if (!desktop_.launch("plain", {.color = kPlainColor, .appId = "org.velmora.Other"}) ||
            !kwin_.place("plain", kPlainFrame)) {
            throw std::runtime_error("the unprotected client did not show");
        }
    }

    Samples run() {
        Samples samples;
        LockCardButtons card(display_, input_);
        for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
            const e2e::ScreenRect unlock = card.pressMinimize(kClientFrame);
            std::this_thread::sleep_for(kSettle);
            const auto times = activateAndTime(unlock);
            if (round >= kWarmUpRounds) {
                samples.cover.push_back(times.first);
                samples.card.push_back(times.second);
            }
        }
        for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
            const double plain = showPlainAndTime();
            if (round >= kWarmUpRounds) {
                samples.plain.push_back(plain);
            }
        }
        return samples;
    }

    std::map<std::string, long> memoryAtRest() {
        std::this_thread::sleep_for(kQuietSpell);
        return memoryStatus(desktop_.velmora().pid());
    }

private:
    // KWin's own time to show a window it brings forward: the unprotected client, from behind
    // the backdrop.
    double showPlainAndTime() {
        if (!kwin_.activate("backdrop")) {
            throw std::runtime_error("the backdrop did not come forward");
        }
        std::this_thread::sleep_for(kSettle);
        std::atomic<bool> watching{true};
        std::atomic<Clock::rep> shownAt{0};
        std::thread watcher([&] {
            e2e::XDisplay display(kwin_.xDisplay());
            while (watching && display.capture(kPlainSample).count(kPlainColor) == 0) {
            }
            shownAt = Clock::now().time_since_epoch().count();
        });
        const auto activated = kwin_.activate("plain");
        const bool shown = e2e::eventually([&] { return shownAt != 0; });
        watching = false;
        watcher.join();
        if (!activated || !shown) {
            throw std::runtime_error("the unprotected client did not come forward");
        }
        return Milliseconds(Clock::time_point(Clock::duration(shownAt.load())) - *activated)
            .count();
    }

    // Watches the screen from a thread of its own while KWin activates the client.
    std::pair<double, double> activateAndTime(const e2e::ScreenRect& unlock) {
        std::atomic<bool> watching{true};
        std::atomic<Clock::rep> coverAt{0};
        std::atomic<Clock::rep> cardAt{0};
        std::thread watcher([&] {
            e2e::XDisplay display(kwin_.xDisplay());
            const auto dark = [&] {
                return display.capture(kCoverSample).count(kBackdropColor) == 0;
            };
            const auto cardDrawn = [&] { return display.capture(unlock).count(kBrandFill, 3) > 0; };
            while (watching && !dark()) {
            }
            coverAt = Clock::now().time_since_epoch().count();
            while (watching && !cardDrawn()) {
            }
            cardAt = Clock::now().time_since_epoch().count();
        });
        const auto activated = kwin_.activate("locked");
        const bool shown = e2e::eventually([&] { return cardAt != 0; });
        watching = false;
        watcher.join();
        if (!activated || !shown) {
            throw std::runtime_error(std::string("the client was not covered again (") +
                                     (!activated     ? "not activated"
                                      : coverAt == 0 ? "no cover"
                                                     : "no card") +
                                     ")");
        }
        const auto since = [&](Clock::rep at) {
            return Milliseconds(Clock::time_point(Clock::duration(at)) - *activated).count();
        };
        return {since(coverAt), since(cardAt)};
    }

    e2e::KWinSession kwin_;
    e2e::KWinDesktop desktop_;
    e2e::XDisplay display_;
    FakeInput input_;
};

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    Samples samples;
    std::map<std::string, long> memory;
    try {
        KWinCover bench;
        samples = bench.run();
        memory = bench.memoryAtRest();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "KWinCoverBench: %s\n", error.what());
        return 1;
    }
    const Summary cover = Summary::of(samples.cover);
    const Summary card = Summary::of(samples.card);
    const Summary plain = Summary::of(samples.plain);
    std::printf("KWin: activation to cover on screen, %d rounds after %d warm-up rounds, ms\n",
                kRounds, kWarmUpRounds);
    std::printf("  %-5s %12s %12s %16s\n", "", "cover shown", "card drawn", "plain window");
    std::printf("  %-5s %12.2f %12.2f %16.2f\n", "p50", cover.p50, card.p50, plain.p50);
    std::printf("  %-5s %12.2f %12.2f %16.2f\n", "p95", cover.p95, card.p95, plain.p95);
    std::printf("  %-5s %12.2f %12.2f %16.2f\n", "max", cover.max, card.max, plain.max);
    std::printf("(plain window: an unprotected window KWin brings forward, shown by KWin alone)\n");
    std::printf("Cover shown: p95 target < %.1f ms %s\n", kTargetP95,
                cover.p95 < kTargetP95 ? "met" : "MISSED");
    std::printf("Velmora at rest on KWin, one application covered, kB:");
    for (const char* field : {"VmRSS", "RssAnon", "RssFile", "RssShmem", "VmHWM"}) {
        std::printf(" %s %ld", field, memory[field]);
    }
    std::printf("\n");
    return 0;
}
