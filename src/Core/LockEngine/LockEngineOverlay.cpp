#include "Core/LockEngine/LockEngine.hpp"
#include "Core/LockEngine/LockEngineSupport.hpp"

#include <algorithm>
#include <cmath>

namespace velmora {

using lockengine::printDiagnostic;

namespace {

constexpr Seconds kFirstLookupDelay{0.5};
constexpr Seconds kRetryDelay{0.2};
constexpr int kMaximumAttempts = 10;

/// A normal application window of `pid` with complete, finite bounds of some area.
bool isNormalWindowOf(const WindowListEntry& entry, ProcessId pid) {
    if (entry.ownerPid != pid || entry.layer != 0 || !entry.x || !entry.y || !entry.width ||
        !entry.height) {
        return false;
    }
    return std::isfinite(*entry.x) && std::isfinite(*entry.y) && std::isfinite(*entry.width) &&
           std::isfinite(*entry.height) && *entry.width > 0 && *entry.height > 0;
}

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
    if (state.target().bundleId != target.bundleId) {
        printDiagnostic("Aborting overlay retry - target changed (attempt " + attemptText + ")");
        return;
    }
    if (const auto frame = getWindowFrame(target.pid)) {
        printDiagnostic("Got window frame on attempt " + attemptText + ": " + describe(*frame));
        // With no display attached there is nothing to pick; the frame itself still places
        // the overlay.
        const Screen screen = screenFor(*frame).value_or(Screen{"Unknown", *frame});
        printDiagnostic("Target screen: " + screen.localizedName);
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
        showOverlay(target, screen->frame, *screen);
    } else {
        printDiagnostic("ERROR: No screen to cover for PID " + std::to_string(target.pid));
    }
}

void LockEngine::showOverlay(const LockedTarget& target, Rect frame, const Screen& screen) {
    std::weak_ptr<LockEngine> weak = weak_from_this();
    overlayController_->show(
        target.bundleId, frame, screen, target.appName,
        [weak, target] {
            if (auto self = weak.lock()) {
                self->handleUnlockTapped(target);
            }
        },
        [weak, bundleId = target.bundleId] {
            if (auto self = weak.lock()) {
                self->handleCancelTapped(bundleId);
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
    const auto match = std::find_if(windows->begin(), windows->end(), [pid](const auto& entry) {
        return isNormalWindowOf(entry, pid);
    });
    if (match == windows->end()) {
        printDiagnostic("No window found for PID " + std::to_string(pid));
        return std::nullopt;
    }

    // The primary display holds the origin of both coordinate systems.
    const auto screens = screens_->screens();
    const auto primary = std::find_if(screens.begin(), screens.end(), [](const Screen& screen) {
        return screen.frame.x == 0 && screen.frame.y == 0;
    });
    std::optional<Screen> reference =
        primary != screens.end() ? std::optional<Screen>(*primary) : mainOrFirstScreen();
    const double primaryHeight = reference ? reference->frame.height : 0;

    const double x = *match->x;
    const double y = *match->y;
    const double width = *match->width;
    const double height = *match->height;
    const double convertedY = primaryHeight - y - height;
    printDiagnostic("Found window: CG(" + describe(x) + ", " + describe(y) + ", " +
                    describe(width) + ", " + describe(height) + ") -> NS(" + describe(x) + ", " +
                    describe(convertedY) + ", " + describe(width) + ", " + describe(height) + ")");
    printDiagnostic("Primary screen height: " + describe(primaryHeight));
    return Rect{x, convertedY, width, height};
}

} // namespace velmora
