// How soon "Lock All" covers every window of the applications it locks: five protected
// applications with four windows each lie unlocked behind an unprotected one in front. Each
// round unlocks all five with the password, opens the tray icon's menu and chooses Lock All
// as a person does, and times from that key until each of the twenty windows is iconified or
// lies under a cover of Velmora's.
#include "harness/Eventually.hpp"
#include "harness/VelmoraWindows.hpp"
#include "support/BenchDesktop.hpp"
#include "support/CoverProbe.hpp"
#include "support/CoverRounds.hpp"
#include "support/FakeInput.hpp"
#include "support/WithinOneFrame.hpp"

#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace velmora::bench {
namespace {

constexpr int kLockAllRounds = 20;
constexpr int kLockAllWarmUpRounds = 2;
constexpr int kWindowsPerApp = 4;
// Keycodes of a US layout on Xvfb.
constexpr xcb_keycode_t kDown = 116;
constexpr xcb_keycode_t kReturn = 36;

const std::vector<BenchApp> kApps{
    {"org.velmora.BenchNotes", "Bench Notes", "BenchNotes"},
    {"org.velmora.BenchMail", "Bench Mail", "BenchMail"},
    {"org.velmora.BenchPhotos", "Bench Photos", "BenchPhotos"},
    {"org.velmora.BenchWallet", "Bench Wallet", "BenchWallet"},
    {"org.velmora.BenchChat", "Bench Chat", "BenchChat"},
};

std::vector<BenchApp> withBackdrop() {
    auto apps = kApps;
    apps.push_back(kBackdrop);
    return apps;
}

class LockAll {
public:
    LockAll() : desktop_(withBackdrop(), {.windowAnimations = false, .trayHost = true}) {
        desktop_.startVelmora();
        for (std::size_t index = 0; index < kApps.size(); ++index) {
            // Three above, two below, each big enough for its lock card.
            const std::string geometry = "320x260+" + std::to_string(10 + 420 * (index % 3)) + "+" +
                                         std::to_string(40 + 380 * (index / 3));
            apps_.push_back(desktop_.launch(kApps[index], geometry, kProtectedColor,
                                            {.count = kWindowsPerApp}));
        }
        backdrop_ = desktop_.launch(kBackdrop, "300x200+900+500", kBackdropColor);
        input_ = std::make_unique<FakeInput>(desktop_.display());
        probe_ = std::make_unique<CoverProbe>(desktop_.display(), desktop_.velmora().pid());
    }

    std::vector<double> run() {
        std::vector<double> times;
        for (int round = 0; round < kLockAllWarmUpRounds + kLockAllRounds; ++round) {
            unlockAll();
            const auto took = lockAllAndTime();
            if (!took) {
                throw std::runtime_error("round " + std::to_string(round) +
                                         ": not every window was covered within " +
                                         std::to_string(kCoverTimeout.count()) + " s");
            }
            if (round >= kLockAllWarmUpRounds) {
                times.push_back(took->count());
            }
        }
        return times;
    }

private:
    void unlockAll() {
        e2e::VelmoraWindows windows(desktop_.desktop(), desktop_.velmora().pid());
        auto& display = desktop_.desktop().display();
        for (const e2e::WindowInfo& app : apps_) {
            if (!desktop_.desktop().xdo().activate(app.window)) {
                throw std::runtime_error("the window manager did not activate " + app.title);
            }
            const auto window = display.window(app.window).value_or(app);
            const auto overlay = desktop_.waitForOverlayOver(window);
            const auto button = overlay ? windows.waitForUnlockButton(*overlay) : std::nullopt;
            if (!button) {
                throw std::runtime_error(app.title + " is not under its lock card");
            }
            input_->click(button->centerX(), button->centerY());
            if (!windows.waitForFocusedPrompt(*overlay)) {
                throw std::runtime_error("no password prompt for " + app.title);
            }
            windows.enterPassword(e2e::TestDesktop::kPassword);
            if (!windows.waitUntilUncovered(*overlay, window, kProtectedColor)) {
                throw std::runtime_error(app.title + " was not unlocked");
            }
            // Lock All iconified the application in front: all its windows come back.
            for (const auto& other : display.windows()) {
                if (other.pid == app.pid && !other.overrideRedirect && !other.viewable) {
                    desktop_.desktop().xdo().activate(other.window);
                }
            }
        }
        desktop_.desktop().xdo().activate(backdrop_.window);
        std::this_thread::sleep_for(kSettleTime);
    }

    // Every window of the five applications, by its frame.
    std::vector<CoverProbe::TopLevel> topLevels() {
        std::vector<CoverProbe::TopLevel> frames;
        for (const auto& window : desktop_.desktop().display().windows()) {
            for (const auto& app : apps_) {
                if (window.pid == app.pid && window.viewable && !window.overrideRedirect) {
                    frames.push_back({window.topLevel, window.frame});
                }
            }
        }
        if (frames.size() != kApps.size() * kWindowsPerApp) {
            throw std::runtime_error(std::to_string(frames.size()) + " windows show, not " +
                                     std::to_string(kApps.size() * kWindowsPerApp));
        }
        return frames;
    }

    std::optional<CoverProbe::Milliseconds> lockAllAndTime() {
        const auto frames = topLevels();
        auto& display = desktop_.desktop().display();
        const e2e::ScreenRect screen = display.rootRect();
        desktop_.desktop().xdo().click(screen.width - 12, 12, 3);
        const bool menuOpen = e2e::eventually([&] {
            return display
                .find([&](const e2e::WindowInfo& window) {
                    return window.viewable && window.overrideRedirect &&
                           desktop_.isVelmoraWindow(window) &&
                           window.geometry.height < screen.height / 4;
                })
                .has_value();
        });
        if (!menuOpen) {
            throw std::runtime_error("the tray icon's menu did not open");
        }
        input_->key(kDown);
        input_->sync();
        return probe_->requestAndTimeCovering([&] { input_->key(kReturn); }, frames, kCoverTimeout);
    }

    BenchDesktop desktop_;
    std::vector<e2e::WindowInfo> apps_;
    e2e::WindowInfo backdrop_;
    std::unique_ptr<FakeInput> input_;
    std::unique_ptr<CoverProbe> probe_;
};

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    return reportWithinOneFrame("LockAllBench",
                                "Lock All to every window covered or hidden, 5 applications with " +
                                    std::to_string(kWindowsPerApp) + " windows each, " +
                                    std::to_string(kLockAllRounds) + " rounds after " +
                                    std::to_string(kLockAllWarmUpRounds) + " warm-up rounds",
                                [] { return LockAll().run(); });
}
