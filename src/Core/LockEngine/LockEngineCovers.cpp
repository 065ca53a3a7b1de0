#include "Core/LockEngine/LockEngine.hpp"
#include "Core/LockEngine/LockEngineWindows.hpp"

#include <unordered_map>
#include <utility>

namespace velmora {

using lockengine::coverableWindow;
using lockengine::isCoverable;
using lockengine::placementFrame;

namespace {

/// How soon a new, moved or resized window of a locked application is covered.
constexpr Seconds kCoverCheckInterval{0.25};

} // namespace

void LockEngine::coverOtherWindows(const LockedTarget& target,
                                   const std::vector<WindowListEntry>& windows) {
    const WindowListEntry* cardWindow = coverableWindow(windows, target.pid);
    const double primaryHeight = primaryScreenHeight();
    std::unordered_map<ProcessId, bool> locked;
    std::vector<Rect> frames;
    for (const WindowListEntry& entry : windows) {
        if (&entry == cardWindow || !isCoverable(entry)) {
            continue;
        }
        const auto [process, isNew] = locked.try_emplace(*entry.ownerPid, false);
        if (isNew) {
            process->second = isLockedProcessOf(target, *entry.ownerPid);
        }
        if (process->second) {
            frames.push_back(placementFrame(entry, primaryHeight));
        }
    }
    overlayController_->setCovers(target.bundleId, frames);
}

bool LockEngine::isLockedProcessOf(const LockedTarget& target, ProcessId pid) const {
    if (pid == target.pid) {
        return true;
    }
    const auto app = workspace_->runningApplication(pid);
    if (!app || app->bundleIdentifier != target.bundleId) {
        return false;
    }
    // Another process of the application stays usable only with an unlock of its own.
    const TimePoint now = timeProvider_->now();
    const auto& remembered = stateMachine_.unlockedApps();
    const auto unlock = remembered.find(UnlockKey{target.bundleId, pid});
    return unlock == remembered.end() || now >= unlock->second;
}

void LockEngine::startCoverCheck() {
    if (coverCheckTimer_) {
        return;
    }
    coverCheckTimer_ = runLoop_->every(kCoverCheckInterval, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->checkCovers();
        }
    });
    // A storm of moves costs one look at the list per turn of the loop.
    windowChanges_ = windowList_->observeChanges([weak = weak_from_this()] {
        const auto self = weak.lock();
        if (!self || std::exchange(self->coverCheckPosted_, true)) {
            return;
        }
        self->runLoop_->post([weak] {
            if (auto engine = weak.lock()) {
                engine->coverCheckPosted_ = false;
                if (engine->coverCheckTimer_) {
                    engine->checkCovers();
                }
            }
        });
    });
}

void LockEngine::stopCoverCheck() {
    if (coverCheckTimer_) {
        coverCheckTimer_->invalidate();
        coverCheckTimer_.reset();
    }
    windowChanges_.reset();
}

void LockEngine::checkCovers() {
    std::vector<LockedTarget> shown;
    for (const auto& [bundleId, target] : coveredTargets_) {
        if (overlayController_->isOverlayVisible(bundleId)) {
            shown.push_back(target);
        }
    }
    if (shown.empty()) {
        stopCoverCheck();
        return;
    }
    const auto windows = windowList_->onScreenWindows();
    if (!windows) {
        return;
    }
    for (const LockedTarget& target : shown) {
        followCardWindow(target, *windows);
        coverOtherWindows(target, *windows);
    }
}

void LockEngine::followCardWindow(const LockedTarget& target,
                                  const std::vector<WindowListEntry>& windows) {
    // A card put over the whole screen waits for its window in watchForLateWindow instead.
    const auto followed = cardWindowFrames_.find(target.bundleId);
    const WindowListEntry* window = coverableWindow(windows, target.pid);
    if (followed == cardWindowFrames_.end() || !window) {
        return;
    }
    const Rect frame = placementFrame(*window, primaryScreenHeight());
    if (frame == followed->second) {
        return;
    }
    followed->second = frame;
    presentCard(target, frame, screenFor(frame).value_or(Screen{"Unknown", frame}));
}

} // namespace velmora
