#include "Platform/Sim/SimHostApplication.hpp"

#include "Platform/Sim/SimWorkspace.hpp"

#include <algorithm>

namespace velmora {

SimHostApplication::SimHostApplication(RunLoop& runLoop,
                                       std::optional<std::string> bundleIdentifier)
    : runLoop_(runLoop), bundleIdentifier_(std::move(bundleIdentifier)) {}

void SimHostApplication::activateIgnoringOtherApps() {
    ++activateCount_;
    if (auto workspace = workspace_.lock()) {
        workspace->activate(pid_);
        return;
    }
    setActive(true);
}

void SimHostApplication::setWindowLevel(int windowId, WindowLevel level) {
    if (AppWindow* window = find(windowId)) {
        window->level = level;
    }
}

void SimHostApplication::makeKeyAndOrderFront(int windowId) {
    orderedFront_.push_back(windowId);
    if (AppWindow* window = find(windowId)) {
        window->visible = true;
        keyWindowId_ = windowId;
    }
}

void SimHostApplication::terminate() {
    ++terminationRequests_;
    termination_.request(delegate_);
}

void SimHostApplication::replyToApplicationShouldTerminate(bool shouldTerminate) {
    termination_.reply(shouldTerminate, delegate_);
}

Subscription SimHostApplication::observeDidBecomeActive(EventHandler handler) {
    return didBecomeActive_->connect(std::move(handler));
}

void SimHostApplication::joinWorkspace(const std::shared_ptr<SimWorkspace>& workspace,
                                       ProcessId pid) {
    workspace_ = workspace;
    pid_ = pid;
    workspaceActivations_ = workspace->observeDidActivateApplication(
        [this](const std::optional<RunningApplication>& app) {
            if (app) {
                setActive(app->processIdentifier == pid_);
            }
        });
}

void SimHostApplication::finishLaunching() {
    if (auto delegate = delegate_.lock()) {
        delegate->applicationDidFinishLaunching();
    }
}

void SimHostApplication::setActive(bool active) {
    const bool becameActive = active && !active_;
    active_ = active;
    if (!becameActive) {
        return;
    }
    runLoop_.post([weakSignal = std::weak_ptr(didBecomeActive_)] {
        if (auto live = weakSignal.lock()) {
            live->emit();
        }
    });
}

int SimHostApplication::openWindow(AppWindowKind kind, bool visible) {
    windows_.push_back(AppWindow{nextId_, kind, visible, kNormalWindowLevel});
    return nextId_++;
}

void SimHostApplication::closeWindow(int id) {
    std::erase_if(windows_, [id](const AppWindow& w) { return w.id == id; });
    if (keyWindowId_ == id) {
        keyWindowId_.reset();
    }
}

void SimHostApplication::closeKeyWindow() {
    if (keyWindowId_) {
        closeWindow(*keyWindowId_);
    }
}

void SimHostApplication::setWindowVisible(int id, bool visible) {
    if (AppWindow* window = find(id)) {
        window->visible = visible;
    }
}

std::optional<AppWindow> SimHostApplication::window(int id) const {
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [id](const AppWindow& w) { return w.id == id; });
    if (it == windows_.end()) {
        return std::nullopt;
    }
    return *it;
}

AppWindow* SimHostApplication::find(int id) {
    const auto it = std::find_if(windows_.begin(), windows_.end(),
                                 [id](const AppWindow& w) { return w.id == id; });
    return it == windows_.end() ? nullptr : &*it;
}

void SimHostApplication::endProgram() {
    active_ = false;
    if (auto workspace = workspace_.lock()) {
        workspace->quit(pid_);
    }
}

} // namespace velmora
