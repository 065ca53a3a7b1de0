// How soon the other window of a locked application is covered once the first is: the
// application has two windows, the second transient for the first (they iconify and come
// back together) and 30 px right of and below it. Each round presses Minimize on the lock
// card (both windows are iconified, an unprotected backdrop comes to the front), then asks
// for the first window, and times from that request until the screen is black where only
// the first window lies and then where only the second does.
#include "harness/Eventually.hpp"
#include "support/BenchDesktop.hpp"
#include "support/CoverProbe.hpp"
#include "support/CoverRounds.hpp"
#include "support/FakeInput.hpp"
#include "support/LockCardButtons.hpp"
#include "support/WithinOneFrame.hpp"

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace velmora::bench {
namespace {

const BenchApp kProtectedApp{"org.velmora.BenchMail", "Bench Mail", "BenchMail"};
constexpr int kSampleSize = 12;
// The second window reaches this far past the first, right and down.
constexpr int kWindowOffset = 30;

class SecondWindowCover {
public:
    SecondWindowCover() : desktop_({kProtectedApp, kBackdrop}, {.windowAnimations = false}) {
        desktop_.startVelmora();
        backdrop_ = desktop_.launch(kBackdrop, "1200x720+20+20", kBackdropColor);
        const auto launched = desktop_.launch(kProtectedApp, "480x360+300+200", kProtectedColor,
                                              {.count = 2, .transient = true});
        input_ = std::make_unique<FakeInput>(desktop_.display());
        probe_ = std::make_unique<CoverProbe>(desktop_.display(), desktop_.velmora().pid());
        first_ = firstWindowOf(*launched.pid);
    }

    std::vector<double> run() {
        std::vector<double> lags;
        for (int round = 0; round < kWarmUpRounds + kRounds; ++round) {
            minimize();
            const auto took = activateAndTime();
            if (!took) {
                throw std::runtime_error("round " + std::to_string(round) +
                                         ": the windows were not covered within " +
                                         std::to_string(kCoverTimeout.count()) + " s");
            }
            if (round >= kWarmUpRounds) {
                lags.push_back(took->at(1).count() - took->at(0).count());
            }
        }
        return lags;
    }

private:
    // The upper left of the application's two windows.
    e2e::WindowInfo firstWindowOf(int pid) {
        std::optional<e2e::WindowInfo> first;
        e2e::eventually([&] {
            first.reset();
            int found = 0;
            for (const auto& window : desktop_.desktop().display().windows()) {
                if (window.pid == pid && window.viewable && !window.overrideRedirect) {
                    ++found;
                    if (!first || window.frame.x < first->frame.x) {
                        first = window;
                    }
                }
            }
            return found == 2;
        });
        if (!first) {
            throw std::runtime_error("the protected application did not show two windows");
        }
        return *first;
    }

    [[nodiscard]] bool isCover(const e2e::WindowInfo& window) const {
        return window.viewable && window.overrideRedirect && desktop_.isVelmoraWindow(window);
    }

    // Presses Minimize on the card, wherever the engine put it.
    void minimize() {
        auto& display = desktop_.desktop().display();
        std::optional<e2e::WindowInfo> card;
        e2e::eventually([&] {
            card = display.find([&](const e2e::WindowInfo& window) { return isCover(window); });
            return card.has_value();
        });
        if (!card) {
            throw std::runtime_error("the protected application is not covered");
        }
        std::optional<e2e::ScreenRect> button;
        for (const auto& window : display.windows()) {
            if (!button && isCover(window)) {
                try {
                    button = LockCardButtons(display, *input_).pressMinimize(window.frame);
                } catch (const std::runtime_error&) {
                    // A cover without the card.
                }
            }
        }
        if (!button) {
            throw std::runtime_error("no lock card on any cover");
        }
        const bool hidden = e2e::eventually([&] {
            return !display.find([&](const e2e::WindowInfo& window) { return isCover(window); }) &&
                   display.wmState(first_.window) == kIconicState &&
                   probe_->activeWindow() == backdrop_.window;
        });
        if (!hidden) {
            throw std::runtime_error("Minimize did not hide the application");
        }
        std::this_thread::sleep_for(kSettleTime);
    }

    std::optional<std::vector<CoverProbe::Milliseconds>> activateAndTime() {
        auto& display = desktop_.desktop().display();
        const e2e::ScreenRect frame = first_.frame;
        // Left of the second window, below the card's reach; right of the first.
        const e2e::ScreenRect firstOnly{frame.x + (kWindowOffset - kSampleSize) / 2,
                                        frame.centerY(), kSampleSize, kSampleSize};
        const e2e::ScreenRect secondOnly{frame.x + frame.width + (kWindowOffset - kSampleSize) / 2,
                                         frame.centerY(), kSampleSize, kSampleSize};
        const auto covered = [&](const e2e::ScreenRect& sample) {
            return display.capture(sample).count(kCoverColor, kCoverTolerance) ==
                   static_cast<std::size_t>(sample.width * sample.height);
        };
        return probe_->activateAndTime(
            first_.window, frame,
            {[&] { return covered(firstOnly); }, [&] { return covered(secondOnly); }},
            kCoverTimeout);
    }

    BenchDesktop desktop_;
    e2e::WindowInfo backdrop_;
    e2e::WindowInfo first_;
    std::unique_ptr<FakeInput> input_;
    std::unique_ptr<CoverProbe> probe_;
};

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    return reportWithinOneFrame("SecondWindowCoverBench",
                                "Second window covered after the first, " +
                                    std::to_string(kRounds) + " rounds after " +
                                    std::to_string(kWarmUpRounds) + " warm-up rounds",
                                [] { return SecondWindowCover().run(); });
}
