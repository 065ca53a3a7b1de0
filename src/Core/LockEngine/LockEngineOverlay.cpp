#include "Core/LockEngine/LockEngine.hpp"
#include "Core/LockEngine/LockEngineSupport.hpp"
#include "Core/LockEngine/LockEngineWindows.hpp"

#include <algorithm>

namespace velmora {

using lockengine::coverableWindow;
using lockengine::placementFrame;
using lockengine::printDiagnostic;

namespace {

constexpr Seconds kFirstLookupDelay{0.5};
constexpr Seconds kRetryDelay{0.2};
constexpr int kMaximumAttempts = 10;
/// How often a screen-wide cover looks for the window that was missing.
constexpr Seconds kLateWindowInterval{0.5};

} // namespace

void LockEngine::showOverlayForTarget(const LockedTarget& target) {
    logger_->info("showOverlayForTarget ENTER: " + target.appName +
                  " PID=" + std::to_string(target.pid));
    if (getWindowFrame(target.pid)) {
        logger_->debug("Window found immediately, showing overlay");
        showOverlayWithRetry(target, 1, 1);
        return;
    }
    logger_->debug("Window not found, waiting 0.5s for app to create window...");
    runLoop_->after(kFirstLookupDelay, [weak = weak_from_this(), target] {
        if (auto self = weak.lock()) {
            self->showOverlayWithRetry(target, 1, kMaximumAttempts);
        }
    });
}

void LockEngine::showOverlayWithRetry(const LockedTarget& target, int attempt, int maximum) {
    const std::string attemptText = std::to_string(attempt);
    const LockState& state = currentState_.get();
    if (!state.isLocked()) {
        printDiagnostic("Aborting overlay retry - state is no longer locked (attempt " +
                        attemptText + ")");
        return;
    }
    // The process too: a stale chain of another process of the same application must not
    // move the application's one overlay away from the process now in front.
    if (state.target().bundleId != target.bundleId || state.target().pid != target.pid) {
        printDiagnostic("Aborting overlay retry - target changed (attempt " + attemptText + ")");
        return;
    }
    if (const auto frame = getWindowFrame(target.pid)) {
        printDiagnostic("Got window frame on attempt " + attemptText + ": " + describe(*frame));
        // With no display attached there is nothing to pick; the frame itself still places
        // the overlay.
        const Screen screen = screenFor(*frame).value_or(Screen{"Unknown", *frame});
        printDiagnostic("Target screen: " + screen.localizedName);
        cardWindowFrames_[target.bundleId] = *frame;
        showOverlay(target, *frame, screen);
        return;
    }
    if (attempt < maximum) {
        printDiagnostic("Window not found on attempt " + attemptText + "/" +
                        std::to_string(maximum) + ", retrying in 0.2s...");
        runLoop_->after(kRetryDelay, [weak = weak_from_this(), target, attempt, maximum] {
            if (auto self = weak.lock()) {
                self->showOverlayWithRetry(target, attempt + 1, maximum);
            }
        });
        return;
    }
    printDiagnostic("ERROR: Could not get window frame after " + std::to_string(maximum) +
                    " attempts for PID " + std::to_string(target.pid));
    if (const auto screen = mainOrFirstScreen()) {
        cardWindowFrames_.erase(target.bundleId);
        showOverlay(target, screen->frame, *screen);
        watchForLateWindow(target);
    } else {
        printDiagnostic("ERROR: No screen to cover for PID " + std::to_string(target.pid));
    }
}

void LockEngine::watchForLateWindow(const LockedTarget& target) {
    // A window that shows up after the retries gave up may sit on another screen than the
    // one covered; the cover follows it as soon as it is known.
    runLoop_->after(kLateWindowInterval, [weak = weak_from_this(), target] {
        auto self = weak.lock();
        if (!self || !self->isStillCovering(target)) {
            return;
        }
        const LockState& state = self->currentState_.get();
        if (!state.isLocked() || state.target() != target) {
            return;
        }
        const auto frame = self->coverableWindowFrame(target.pid);
        if (!frame) {
            self->watchForLateWindow(target);
            return;
        }
        printDiagnostic("Window of PID " + std::to_string(target.pid) +
                        " appeared after the screen was covered: " + describe(*frame));
        const Screen screen = self->screenFor(*frame).value_or(Screen{"Unknown", *frame});
        self->cardWindowFrames_[target.bundleId] = *frame;
        self->showOverlay(target, *frame, screen);
    });
}

std::optional<Rect> LockEngine::coverableWindowFrame(ProcessId pid) const {
    const auto windows = windowList_->onScreenWindows();
    if (!windows) {
        return std::nullopt;
    }
    const WindowListEntry* window = coverableWindow(*windows, pid);
    if (!window) {
        return std::nullopt;
    }
    return placementFrame(*window, primaryScreenHeight());
}

double LockEngine::primaryScreenHeight() const {
    // The primary display holds the origin of both coordinate systems.
    const auto screens = screens_->screens();
    const auto primary = std::find_if(screens.begin(), screens.end(), [](const Screen& screen) {
        return screen.frame.x == 0 && screen.frame.y == 0;
    });
    std::optional<Screen> reference =
        primary != screens.end() ? std::optional<Screen>(*primary) : mainOrFirstScreen();
    return reference ? reference->frame.height : 0;
}

void LockEngine::showOverlay(const LockedTarget& target, Rect frame, const Screen& screen) {
    presentCard(target, frame, screen);
    if (const auto windows = windowList_->onScreenWindows()) {
        coverOtherWindows(target, *windows);
    }
    startCoverCheck();
}

void LockEngine::presentCard(const LockedTarget& target, Rect frame, const Screen& screen) {
    coveredTargets_[target.bundleId] = target;
    std::weak_ptr<LockEngine> weak = weak_from_this();
    overlayController_->show(
        target.bundleId, frame, screen, target.appName,
        [weak, target] {
            if (auto self = weak.lock()) {
                self->handleUnlockTapped(target);
            }
        },
        [weak, bundleId = target.bundleId, pid = target.pid] {
            if (auto self = weak.lock()) {
                self->handleCancelTapped(bundleId, pid);
            }
        });
}

std::optional<Screen> LockEngine::screenFor(const Rect& frame) const {
    const auto screens = screens_->screens();
    const auto touched = std::find_if(screens.begin(), screens.end(), [&](const Screen& screen) {
        return screen.frame.intersects(frame);
    });
    if (touched != screens.end()) {
        return *touched;
    }
    return mainOrFirstScreen();
}

std::optional<Screen> LockEngine::mainOrFirstScreen() const {
    if (auto main = screens_->mainScreen()) {
        return main;
    }
    const auto screens = screens_->screens();
    if (screens.empty()) {
        return std::nullopt;
    }
    return screens.front();
}

std::optional<Rect> LockEngine::getWindowFrame(ProcessId pid) const {
    const auto windows = windowList_->onScreenWindows();
    if (!windows) {
        printDiagnostic("Failed to get window list");
        return std::nullopt;
    }
    printDiagnostic("getWindowFrame: searching " + std::to_string(windows->size()) +
                    " windows for PID " + std::to_string(pid));
    const WindowListEntry* match = coverableWindow(*windows, pid);
    if (!match) {
        printDiagnostic("No window found for PID " + std::to_string(pid));
        return std::nullopt;
    }
    const double primaryHeight = primaryScreenHeight();
    const Rect frame = placementFrame(*match, primaryHeight);
    printDiagnostic("Found window: CG(" + describe(*match->x) + ", " + describe(*match->y) + ", " +
                    describe(frame.width) + ", " + describe(frame.height) + ") -> NS(" +
                    describe(frame.x) + ", " + describe(frame.y) + ", " + describe(frame.width) +
                    ", " + describe(frame.height) + ")");
    printDiagnostic("Primary screen height: " + describe(primaryHeight));
    return frame;
}

} // namespace velmora
