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
    // Not uncovered while it is looked for: the card goes over the window's last known place,
    // else the screen, at once, and moves onto the window once it is found.
    const auto lastFrame = coverKeeper_->lastKnownFrame(target.pid);
    if (const auto screen =
            lastFrame ? screenFor(*lastFrame) : lockengine::mainOrFirstScreen(*screens_)) {
        cardWindowFrames_.erase(target.bundleId);
        showOverlay(target, lastFrame.value_or(screen->frame), *screen);
    }
    runLoop_->after(kFirstLookupDelay, ifAlive(weak_from_this(), [target](LockEngine& self) {
                        self.showOverlayWithRetry(target, 1, kMaximumAttempts);
                    }));
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
        runLoop_->after(kRetryDelay,
                        ifAlive(weak_from_this(), [target, attempt, maximum](LockEngine& self) {
                            self.showOverlayWithRetry(target, attempt + 1, maximum);
                        }));
        return;
    }
    printDiagnostic("ERROR: Could not get window frame after " + std::to_string(maximum) +
                    " attempts for PID " + std::to_string(target.pid));
    if (const auto screen = lockengine::mainOrFirstScreen(*screens_)) {
        cardWindowFrames_.erase(target.bundleId);
        showOverlay(target, screen->frame, *screen);
    } else {
        printDiagnostic("ERROR: No screen to cover for PID " + std::to_string(target.pid));
    }
}

void LockEngine::showOverlay(const LockedTarget& target, Rect frame, const Screen& screen) {
    coveredTargets_[target.bundleId] = target;
    overlayController_->show(
        target.bundleId, frame, screen, target.appName,
        ifAlive(weak_from_this(), [target](LockEngine& self) { self.handleUnlockTapped(target); }),
        ifAlive(weak_from_this(), [bundleId = target.bundleId, pid = target.pid](LockEngine& self) {
            self.handleCancelTapped(bundleId, pid);
        }));
}

std::optional<Screen> LockEngine::screenFor(const Rect& frame) const {
    const auto screens = screens_->screens();
    const auto touched = std::find_if(screens.begin(), screens.end(), [&](const Screen& screen) {
        return screen.frame.intersects(frame);
    });
    if (touched != screens.end()) {
        return *touched;
    }
    return lockengine::mainOrFirstScreen(*screens_);
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
    const double primaryHeight = lockengine::primaryScreenHeight(*screens_);
    const Rect frame = placementFrame(*match, primaryHeight);
    printDiagnostic("Found window: CG(" + describe(*match->x) + ", " + describe(*match->y) + ", " +
                    describe(frame.width) + ", " + describe(frame.height) + ") -> NS(" +
                    describe(frame.x) + ", " + describe(frame.y) + ", " + describe(frame.width) +
                    ", " + describe(frame.height) + ")");
    printDiagnostic("Primary screen height: " + describe(primaryHeight));
    return frame;
}

} // namespace velmora
