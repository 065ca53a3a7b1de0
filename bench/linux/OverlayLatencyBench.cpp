// How long a protected application shows before Velmora covers it: from its activation (the
// window manager naming it in the root's _NET_ACTIVE_WINDOW) until the overlay over it is
// mapped and its dark cover is on screen, and until the lock card is drawn on it. The time
// from the request to bring it to the front is shown too: it adds the window manager's own.
//
// The real program runs on a private Xvfb with openbox. Each round presses Minimize on the
// lock card (the application is iconified, its overlay ordered out and the unprotected
// backdrop comes to the front), lets that settle, then sends _NET_ACTIVE_WINDOW for the
// application and, once an override-redirect window of Velmora's over the application's frame
// is mapped, polls the pixels of the cover beside the card and then those of the card's Unlock
// button. The application stays locked throughout, so every activation is covered afresh, by
// the overlay window kept from the first round.
//
// openbox's iconify animation is off unless --animations is given: while it runs, the frame
// is not yet where the application will be, so the time then also tells how soon the cover
// follows a window that moves after it was covered.
#include "harness/Eventually.hpp"
#include "support/BenchDesktop.hpp"
#include "support/CoverProbe.hpp"
#include "support/CoverRounds.hpp"
#include "support/FakeInput.hpp"
#include "support/LockCardButtons.hpp"
#include "support/Summary.hpp"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmora::bench {
namespace {

constexpr double kTargetP95 = 5;
constexpr double kTargetMax = 30;

const BenchApp kProtectedApp{"org.velmora.BenchNotes", "Bench Notes", "BenchNotes"};
constexpr int kSampleSize = 16;
// Left of the card, clear of the cover's rounded corners.
constexpr int kSampleInset = 40;
// The lock card's Unlock button, by its fill.
constexpr e2e::Rgb kBrandFill = e2e::Rgb::fromUnit(0.25, 0.25, 0.4);
constexpr int kFillTolerance = 3;
// Left of the button's label, clear of its rounded corners.
constexpr int kButtonSampleInset = 4;
constexpr int kButtonSampleSize = 6;

class OverlayLatency {
public:
    explicit OverlayLatency(bool windowAnimations)
        : desktop_({kProtectedApp, kBackdrop}, {.windowAnimations = windowAnimations}) {
        desktop_.startVelmora();
        backdrop_ = desktop_.launch(kBackdrop, "1200x720+20+20", kBackdropColor);
        // openbox gives a new window the focus, so the application is covered at once.
        client_ = desktop_.launch(kProtectedApp, "480x360+300+200", kProtectedColor);
        input_ = std::make_unique<FakeInput>(desktop_.display());
        probe_ = std::make_unique<CoverProbe>(desktop_.display(), desktop_.velmora().pid());
        overlay_ = coverOverClient();
    }

    struct Samples {
        std::vector<double> cover;
        std::vector<double> card;
        std::vector<double> requestToCover;
    };

    Samples run() {
        Samples samples;
        for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
            minimize();
            const auto took = activateAndTime();
            if (!took) {
                throw std::runtime_error("round " + std::to_string(round) +
                                         ": the application was not covered within " +
                                         std::to_string(kCoverTimeout.count()) + " s");
            }
            const auto activated = probe_->activationTime();
            if (!activated) {
                throw std::runtime_error("round " + std::to_string(round) +
                                         ": the window manager never named the application "
                                         "active");
            }
            if (round >= kWarmUpRounds) {
                samples.cover.push_back((took->at(0) - *activated).count());
                samples.card.push_back((took->at(1) - *activated).count());
                samples.requestToCover.push_back(took->at(0).count());
            }
            overlay_ = coverOverClient();
        }
        return samples;
    }

private:
    e2e::WindowInfo coverOverClient() {
        client_ = desktop_.desktop().display().window(client_.window).value_or(client_);
        const auto overlay = desktop_.waitForOverlayOver(client_);
        if (!overlay) {
            throw std::runtime_error("the protected application is not covered");
        }
        return *overlay;
    }

    void minimize() {
        auto& display = desktop_.desktop().display();
        unlockButton_ = LockCardButtons(display, *input_).pressMinimize(overlay_.frame);
        const bool hidden = e2e::eventually([&] {
            const auto cover = display.window(overlay_.window);
            return (!cover || !cover->viewable) &&
                   display.wmState(client_.window) == kIconicState &&
                   probe_->activeWindow() == backdrop_.window;
        });
        if (!hidden) {
            throw std::runtime_error("Minimize did not hide the application");
        }
        std::this_thread::sleep_for(kSettleTime);
    }

    std::optional<std::vector<CoverProbe::Milliseconds>> activateAndTime() {
        auto& display = desktop_.desktop().display();
        const e2e::ScreenRect frame = client_.frame;
        const e2e::ScreenRect coverSample{frame.x + kSampleInset, frame.centerY() - kSampleSize / 2,
                                          kSampleSize, kSampleSize};
        const e2e::ScreenRect cardSample{unlockButton_.x + kButtonSampleInset,
                                         unlockButton_.centerY() - kButtonSampleSize / 2,
                                         kButtonSampleSize, kButtonSampleSize};
        const auto shows = [&](const e2e::ScreenRect& sample, e2e::Rgb color, int tolerance) {
            return display.capture(sample).count(color, tolerance) ==
                   static_cast<std::size_t>(sample.width * sample.height);
        };
        return probe_->activateAndTime(
            client_.window, frame,
            {[&] { return shows(coverSample, kCoverColor, kCoverTolerance); },
             [&] { return shows(cardSample, kBrandFill, kFillTolerance); }},
            kCoverTimeout);
    }

    BenchDesktop desktop_;
    e2e::WindowInfo backdrop_;
    e2e::WindowInfo client_;
    e2e::WindowInfo overlay_;
    e2e::ScreenRect unlockButton_;
    std::unique_ptr<FakeInput> input_;
    std::unique_ptr<CoverProbe> probe_;
};

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

} // namespace
} // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    const bool animations = argc > 1 && std::string_view(argv[1]) == "--animations";
    if (argc > 1 && !animations) {
        std::fprintf(stderr, "usage: OverlayLatencyBench [--animations]\n");
        return 2;
    }
    OverlayLatency::Samples samples;
    try {
        samples = OverlayLatency(animations).run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "OverlayLatencyBench: %s\n", error.what());
        return 1;
    }
    const Summary cover = Summary::of(samples.cover);
    const Summary card = Summary::of(samples.card);
    const Summary request = Summary::of(samples.requestToCover);
    std::printf("Activation to overlay on screen, %zu rounds after %d warm-up rounds, openbox "
                "animations %s (ms)\n",
                samples.cover.size(), kWarmUpRounds, animations ? "on" : "off");
    std::printf("  %-5s %12s %12s %18s\n", "", "cover shown", "card drawn", "request to cover");
    std::printf("  %-5s %12.2f %12.2f %18.2f\n", "p50", cover.p50, card.p50, request.p50);
    std::printf("  %-5s %12.2f %12.2f %18.2f\n", "p95", cover.p95, card.p95, request.p95);
    std::printf("  %-5s %12.2f %12.2f %18.2f\n", "max", cover.max, card.max, request.max);
    std::printf("Cover shown: p95 target < %.0f ms %s, max target < %.0f ms %s\n", kTargetP95,
                verdict(cover.p95 < kTargetP95), kTargetMax, verdict(cover.max < kTargetMax));
    return 0;
}
