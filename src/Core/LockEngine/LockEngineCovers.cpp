#include "Core/LockEngine/LockEngine.hpp"
#include "Core/LockEngine/LockEngineSupport.hpp"
#include "Core/LockEngine/LockEngineWindows.hpp"

#include <algorithm>

namespace velmora {

using lockengine::coverableWindow;
using lockengine::placementFrame;
using lockengine::primaryScreenHeight;

namespace {

/// How long a window manager may take to hide a window before it counts as refused.
constexpr Seconds kHidingTime{0.25};

} // namespace

void LockEngine::setupCoverBindings() {
    coverKeeper_ = CoverKeeper::create({windowList_, screens_, coverWindows_, runLoop_, logger_},
                                       ifAlive(weak_from_this(), &LockEngine::mustCover));
    // Every decision of the machine may lock or unlock a process; covers follow at once,
    // before the reaction that lags a turn behind.
    coverBindings_.push_back(stateMachine_.transitionPublisher().connect(
        ifAlive(weak_from_this(),
                [](LockEngine& self, const LockTransitionResult&) { self.refreshCovers(); })));
    coverBindings_.push_back(appState_->protectedApps().subscribe(
        ifAlive(weak_from_this(), [](LockEngine& self, const auto&) { self.refreshCovers(); })));
    coverBindings_.push_back(
        coverKeeper_->observeLooks(ifAlive(weak_from_this(), &LockEngine::followCards)));
}

void LockEngine::refreshCovers() {
    coverKeeper_->refresh();
    // An unlock that runs out in the background locks its process without any event.
    const TimePoint now = timeProvider_->now();
    std::optional<TimePoint> next;
    for (const auto& [key, expiry] : stateMachine_.unlockedApps()) {
        if (expiry > now && (!next || expiry < *next)) {
            next = expiry;
        }
    }
    unlockExpiry_.invalidate();
    if (next) {
        unlockExpiry_ =
            runLoop_->after(*next - now, ifAlive(weak_from_this(), &LockEngine::refreshCovers));
    }
}

void LockEngine::setCoverEveryProtectedProcess(bool cover) {
    if (cover == coverEveryProtectedProcess_) {
        return;
    }
    coverEveryProtectedProcess_ = cover;
    if (cover) {
        logger_->warn("No guard answers: every protected application stays covered until one "
                      "does");
    } else {
        logger_->info("A guard answers: unlocked applications are uncovered again");
    }
    refreshCovers();
}

bool LockEngine::mustCover(ProcessId pid) const {
    if (!coverEveryProtectedProcess_) {
        return isLockedProcess(pid);
    }
    const auto app = workspace_->runningApplication(pid);
    return app && app->bundleIdentifier && !isOwnBundleId(app->bundleIdentifier) &&
           appState_->isProtected(*app->bundleIdentifier);
}

bool LockEngine::isLockedProcess(ProcessId pid) const {
    const auto app = workspace_->runningApplication(pid);
    return app && app->bundleIdentifier && !isOwnBundleId(app->bundleIdentifier) &&
           appState_->isProtected(*app->bundleIdentifier) &&
           !holdsUnlock(*app->bundleIdentifier, pid);
}

bool LockEngine::holdsUnlock(const std::string& bundleId, ProcessId pid) const {
    const TimePoint now = timeProvider_->now();
    const LockState& state = stateMachine_.currentState();
    if (state.isUnlocked() && state.target().bundleId == bundleId && state.target().pid == pid &&
        (!state.expiresAt() || now < *state.expiresAt())) {
        return true;
    }
    const auto& remembered = stateMachine_.unlockedApps();
    const auto unlock = remembered.find(UnlockKey{bundleId, pid});
    return unlock != remembered.end() && now < unlock->second;
}

void LockEngine::followCards(const std::vector<WindowListEntry>& windows) {
    const double primaryHeight = primaryScreenHeight(*screens_);
    for (const auto& [bundleId, target] : coveredTargets_) {
        const WindowListEntry* window = coverableWindow(windows, target.pid);
        if (!window || !overlayController_->isOverlayVisible(bundleId)) {
            continue;
        }
        const Rect frame = placementFrame(*window, primaryHeight);
        const auto followed = cardWindowFrames_.find(bundleId);
        if (followed != cardWindowFrames_.end() && followed->second == frame) {
            continue;
        }
        if (followed == cardWindowFrames_.end()) {
            lockengine::printDiagnostic("Window of PID " + std::to_string(target.pid) +
                                        " appeared after its card was shown: " + describe(frame));
        }
        cardWindowFrames_[bundleId] = frame;
        // A copy: showing the card goes through the table being walked.
        const LockedTarget shown = target;
        showOverlay(shown, frame, screenFor(frame).value_or(Screen{"Unknown", frame}));
    }
}

void LockEngine::verifyHidden(ProcessId pid, const std::string& bundleId) {
    runLoop_->after(
        kHidingTime, ifAlive(weak_from_this(), [pid, bundleId](LockEngine& self) {
            const auto windows = self.windowList_->onScreenWindows();
            if (windows && coverableWindow(*windows, pid) && self.isLockedProcess(pid)) {
                self.logger_->warn("The window manager did not hide " + bundleId + " (PID " +
                                   std::to_string(pid) + "); its windows stay covered");
            }
        }));
}

} // namespace velmora
