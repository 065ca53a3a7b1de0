// Velmora on sway: how soon a locked application that comes to the front is covered, whether
// any of it shows on the way, and what Velmora weighs at rest there.
//
// One headless sway, Velmora and the test client (a Wayland client) on it, an unprotected
// backdrop tiled behind. The client is locked and covered once, so that its card is warm. Each
// round then presses Minimize on the card (the client goes to sway's scratchpad, its cover is
// parked), lets that settle, and focuses the client again as a click would. Meanwhile two
// threads of their own watch: one asks sway's tree (through swaymsg) until Velmora's shield is
// placed over the client and has the focus, the other takes grim screenshots of the client's
// place until its cover is drawn, counting any pixel of the client's own colour on the way.
// Times run from the moment the focus command is sent. A screenshot takes tens of
// milliseconds, printed beside: "cover drawn" is seen no finer than that.
//
// Then, with the client covered again and nothing moving for a while, the kernel's accounting
// of Velmora's memory is read from /proc.
#include "harness/CompositorDesktop.hpp"
#include "harness/Eventually.hpp"
#include "harness/SwaySession.hpp"
#include "support/BenchDesktop.hpp"
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
using SwayDesktop = e2e::CompositorDesktop<e2e::SwaySession>;

constexpr double kTargetP95 = 16.7;
constexpr int kRounds = 20;
constexpr int kWarmUpRounds = 2;
constexpr auto kSettle = std::chrono::milliseconds{400};
constexpr auto kQuietSpell = std::chrono::seconds{10};
constexpr e2e::Rgb kCanary = e2e::Rgb::fromHex(0xff00ff);
constexpr e2e::Rgb kBackdropColor = e2e::Rgb::fromHex(0x20a040);

struct Samples {
    std::vector<double> shielded;
    std::vector<double> drawn;
    std::vector<double> screenshot;
    std::size_t leakedPixels = 0;
};

class SwayCover {
public:
    SwayCover() : desktop_(sway_) {
        if (!desktop_.startVelmora(BenchDesktop::program())) {
            throw std::runtime_error("velmora did not start on sway");
        }
        if (!desktop_.launch("backdrop", {.color = kBackdropColor, .appId = "org.velmora.Other"})) {
            throw std::runtime_error("the backdrop did not show");
        }
        const auto tiled = desktop_.launch("locked", {.color = kCanary});
        if (!tiled || !sway_.activate("locked") || !desktop_.waitForShieldOver(tiled->frame)) {
            throw std::runtime_error("the client was not covered");
        }
        // Back from the scratchpad it floats, where every round then finds it.
        hideClient();
        std::optional<e2e::SwaySession::Window> floating;
        if (!sway_.activate("locked") || !e2e::eventually([&] {
                return (floating = desktop_.window("locked")) && !floating->minimized;
            }) ||
            !desktop_.waitForShieldOver(floating->frame)) {
            throw std::runtime_error("the client was not covered back from the scratchpad");
        }
    }

    Samples run() {
        Samples samples;
        for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
            const e2e::ScreenRect frame = hideClient();
            std::this_thread::sleep_for(kSettle);
            const Round timed = activateAndTime(frame);
            if (round >= kWarmUpRounds) {
                samples.shielded.push_back(timed.shielded);
                samples.drawn.push_back(timed.drawn);
                samples.screenshot.push_back(timed.screenshot);
            }
            samples.leakedPixels += timed.leakedPixels;
        }
        return samples;
    }

    std::map<std::string, long> memoryAtRest() {
        std::this_thread::sleep_for(kQuietSpell);
        return memoryStatus(desktop_.velmora().pid());
    }

private:
    struct Round {
        double shielded = 0;
        double drawn = 0;
        double screenshot = 0;
        std::size_t leakedPixels = 0;
    };

    // Presses Minimize on the client's card; answers where the client was shown, once it is in
    // the scratchpad and no shield over it has the focus.
    e2e::ScreenRect hideClient() {
        const auto shown = desktop_.window("locked");
        std::optional<LockCardButtons::Buttons> card;
        if (!shown || !e2e::eventually([&] {
                return (card = LockCardButtons::find(sway_.capture(shown->frame))).has_value();
            })) {
            throw std::runtime_error("no card over the client");
        }
        sway_.click(card->minimizeX, card->minimizeY);
        if (!e2e::eventually([&] {
                const auto client = desktop_.window("locked");
                return client && client->minimized && !shieldFocused(shown->frame);
            })) {
            throw std::runtime_error("Minimize did not hide the client");
        }
        return shown->frame;
    }

    bool shieldFocused(const e2e::ScreenRect& frame) {
        for (const auto& window : sway_.windows()) {
            if (window.pid == desktop_.velmora().pid() && window.active && !window.minimized &&
                window.frame.contains({frame.centerX(), frame.centerY(), 1, 1})) {
                return true;
            }
        }
        return false;
    }

    Round activateAndTime(const e2e::ScreenRect& frame) {
        std::atomic<bool> watching{true};
        std::atomic<Clock::rep> shieldedAt{0};
        std::atomic<Clock::rep> drawnAt{0};
        std::atomic<std::size_t> leaked{0};
        std::atomic<Clock::rep> screenshotTook{0};
        std::thread tree([&] {
            while (watching && !shieldFocused(frame)) {
            }
            shieldedAt = Clock::now().time_since_epoch().count();
        });
        std::thread screen([&] {
            while (watching) {
                const auto before = Clock::now();
                const e2e::Image shot = sway_.capture(frame);
                screenshotTook = (Clock::now() - before).count();
                leaked += shot.count(kCanary);
                if (shot.count(kBackdropColor) == 0 && shot.count(kCanary) == 0) {
                    drawnAt = Clock::now().time_since_epoch().count();
                    return;
                }
            }
        });
        const Clock::time_point sent = Clock::now();
        const bool activated = sway_.activate("locked").has_value();
        const bool covered = e2e::eventually([&] { return shieldedAt != 0 && drawnAt != 0; });
        watching = false;
        tree.join();
        screen.join();
        if (!activated || !covered) {
            throw std::runtime_error(std::string("the client was not covered again (") +
                                     (!activated ? "not focused" : "no shield or no card") + ")");
        }
        const auto since = [&](Clock::rep at) {
            return Milliseconds(Clock::time_point(Clock::duration(at)) - sent).count();
        };
        return {since(shieldedAt), since(drawnAt),
                Milliseconds(Clock::duration(screenshotTook.load())).count(), leaked};
    }

    e2e::SwaySession sway_;
    SwayDesktop desktop_;
};

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    if (!velmora::e2e::SwaySession::available()) {
        std::fprintf(stderr, "SwayCoverBench: needs sway, grim and wtype\n");
        return 1;
    }
    Samples samples;
    std::map<std::string, long> memory;
    try {
        SwayCover bench;
        samples = bench.run();
        memory = bench.memoryAtRest();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "SwayCoverBench: %s\n", error.what());
        return 1;
    }
    const Summary shielded = Summary::of(samples.shielded);
    const Summary drawn = Summary::of(samples.drawn);
    const Summary screenshot = Summary::of(samples.screenshot);
    std::printf("sway: focus command to cover, %d rounds after %d warm-up rounds, ms\n", kRounds,
                kWarmUpRounds);
    std::printf("  %-5s %14s %12s %12s\n", "", "shield focused", "cover drawn", "screenshot");
    std::printf("  %-5s %14.2f %12.2f %12.2f\n", "p50", shielded.p50, drawn.p50, screenshot.p50);
    std::printf("  %-5s %14.2f %12.2f %12.2f\n", "p95", shielded.p95, drawn.p95, screenshot.p95);
    std::printf("  %-5s %14.2f %12.2f %12.2f\n", "max", shielded.max, drawn.max, screenshot.max);
    std::printf("Pixels of the locked client seen on the way: %zu\n", samples.leakedPixels);
    std::printf("Cover drawn: p95 target < %.1f ms %s\n", kTargetP95,
                drawn.p95 < kTargetP95 ? "met" : "MISSED");
    std::printf("Velmora at rest on sway, one application covered, kB:");
    for (const char* field : {"VmRSS", "RssAnon", "RssFile", "RssShmem", "VmHWM"}) {
        std::printf(" %s %ld", field, memory[field]);
    }
    std::printf("\n");
    return samples.leakedPixels == 0 ? 0 : 1;
}
