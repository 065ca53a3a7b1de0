#include "Platform/Sim/SimWorkspace.hpp"

#include <algorithm>
#include <limits>

namespace velmora {

SimWorkspace::SimWorkspace(RunLoop& runLoop) : runLoop_(runLoop) {}

const RunningApplication* SimWorkspace::find(ProcessId pid) const {
    const auto it = std::find_if(running_.begin(), running_.end(),
                                 [pid](const auto& app) { return app.processIdentifier == pid; });
    return it == running_.end() ? nullptr : &*it;
}

std::optional<RunningApplication> SimWorkspace::frontmostApplication() const {
    if (!frontmost_) {
        return std::nullopt;
    }
    if (const auto* app = find(*frontmost_)) {
        return *app;
    }
    return std::nullopt;
}

std::vector<RunningApplication> SimWorkspace::runningApplications() const {
    return running_;
}

bool SimWorkspace::activate(ProcessId pid) {
    activationRequests_.push_back(pid);
    const auto* app = find(pid);
    if (!app || app->activationPolicy == ActivationPolicy::prohibited) {
        return false;
    }
    if (hidden_.erase(pid) > 0) {
        visibilityChanged_.emit();
    }
    if (frontmost_ != pid) {
        bringForward(pid);
    }
    return true;
}

bool SimWorkspace::hide(ProcessId pid) {
    hideRequests_.push_back(pid);
    if (!find(pid)) {
        return false;
    }
    if (refusesHiding_) {
        return true;
    }
    if (hidden_.insert(pid).second) {
        visibilityChanged_.emit();
    }
    if (frontmost_ == pid) {
        passFrontmostOnFrom(pid);
    }
    return true;
}

std::optional<RunningApplication> SimWorkspace::runningApplication(ProcessId pid) const {
    if (const auto* app = find(pid)) {
        return *app;
    }
    return std::nullopt;
}

Subscription SimWorkspace::observeDidActivateApplication(ActivationHandler handler) {
    return activated_->connect(std::move(handler));
}

Subscription SimWorkspace::observeDidTerminateApplication(TerminationHandler handler) {
    return didTerminate_->connect(std::move(handler));
}

Subscription SimWorkspace::observeWillSleep(SystemEventHandler handler) {
    return willSleep_->connect(std::move(handler));
}

Subscription SimWorkspace::observeScreensDidSleep(SystemEventHandler handler) {
    return screensDidSleep_->connect(std::move(handler));
}

Subscription SimWorkspace::observeScreensDidWake(SystemEventHandler handler) {
    return screensDidWake_->connect(std::move(handler));
}

ProcessId SimWorkspace::launch(RunningApplication app) {
    if (app.processIdentifier <= 0) {
        app.processIdentifier = freshPid();
    } else if (app.processIdentifier >= nextPid_ &&
               app.processIdentifier < std::numeric_limits<ProcessId>::max()) {
        nextPid_ = app.processIdentifier + 1;
    }
    app.isTerminated = false;
    app.startTime = ++launches_;
    running_.push_back(std::move(app));
    return running_.back().processIdentifier;
}

bool SimWorkspace::quit(ProcessId pid) {
    const auto it = std::find_if(running_.begin(), running_.end(),
                                 [pid](const auto& app) { return app.processIdentifier == pid; });
    if (it == running_.end()) {
        return false;
    }
    RunningApplication app = std::move(*it);
    running_.erase(it);
    app.isTerminated = true;
    terminated_.push_back(app);
    postTerminationNotification(std::move(app));
    hidden_.erase(pid);
    std::erase(activationOrder_, pid);
    if (frontmost_ == pid) {
        passFrontmostOnFrom(pid);
    }
    return true;
}

bool SimWorkspace::setFrontmostQuietly(std::optional<ProcessId> pid) {
    if (pid && !find(*pid)) {
        return false;
    }
    frontmost_ = pid;
    if (pid) {
        std::erase(activationOrder_, *pid);
        activationOrder_.push_back(*pid);
    }
    return true;
}

void SimWorkspace::postActivationNotification(std::optional<RunningApplication> app) {
    postApplicationEvent(activated_, std::move(app));
}

void SimWorkspace::postTerminationNotification(std::optional<RunningApplication> app) {
    postApplicationEvent(didTerminate_, std::move(app));
}

void SimWorkspace::postWillSleep() {
    postSystemEvent(willSleep_);
}

void SimWorkspace::postScreensDidSleep() {
    postSystemEvent(screensDidSleep_);
}

void SimWorkspace::postScreensDidWake() {
    postSystemEvent(screensDidWake_);
}

void SimWorkspace::postApplicationEvent(const std::shared_ptr<ActivationSignal>& signal,
                                        std::optional<RunningApplication> app) {
    runLoop_.post([weakSignal = std::weak_ptr(signal), app = std::move(app)] {
        if (auto live = weakSignal.lock()) {
            live->emit(app);
        }
    });
}

void SimWorkspace::postSystemEvent(const std::shared_ptr<SystemEventSignal>& signal) {
    runLoop_.post([weakSignal = std::weak_ptr(signal)] {
        if (auto live = weakSignal.lock()) {
            live->emit();
        }
    });
}

std::optional<RunningApplication> SimWorkspace::application(ProcessId pid) const {
    if (const auto* app = find(pid)) {
        return *app;
    }
    const auto it = std::find_if(terminated_.rbegin(), terminated_.rend(),
                                 [pid](const auto& app) { return app.processIdentifier == pid; });
    if (it == terminated_.rend()) {
        return std::nullopt;
    }
    return *it;
}

bool SimWorkspace::isHidden(ProcessId pid) const {
    return hidden_.contains(pid);
}

ProcessId SimWorkspace::freshPid() {
    // Like a kernel, wrap around at the largest id and skip the ones in use.
    while (find(nextPid_)) {
        nextPid_ = nextPid_ == std::numeric_limits<ProcessId>::max() ? kFirstPid : nextPid_ + 1;
    }
    const ProcessId pid = nextPid_;
    nextPid_ = pid == std::numeric_limits<ProcessId>::max() ? kFirstPid : pid + 1;
    return pid;
}

void SimWorkspace::bringForward(ProcessId pid) {
    frontmost_ = pid;
    std::erase(activationOrder_, pid);
    activationOrder_.push_back(pid);
    postActivationNotification(*find(pid));
}

void SimWorkspace::passFrontmostOnFrom(ProcessId pid) {
    frontmost_.reset();
    const auto next =
        std::find_if(activationOrder_.rbegin(), activationOrder_.rend(), [&](ProcessId other) {
            const auto* candidate = find(other);
            return other != pid && candidate && !hidden_.contains(other) &&
                   candidate->activationPolicy != ActivationPolicy::prohibited;
        });
    if (next != activationOrder_.rend()) {
        bringForward(*next);
    }
}

} // namespace velmora
