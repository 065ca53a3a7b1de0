#include "Platform/Linux/Wayland/KWinWorkspace.hpp"

#include "Platform/Linux/ProcessNaming.hpp"

#include <algorithm>
#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

namespace velmora {
namespace {

constexpr const char* ownName = "Velmora";

std::optional<std::string> nonEmpty(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional{text};
}

} // namespace

KWinWorkspace::KWinWorkspace(Dependencies dependencies)
    : d_(std::move(dependencies)), ownPid_(getpid()) {
    windowChanges_ = d_.bridge->observeWindows([this] { rebuildApplications(); });
    if (d_.protectedApplications) {
        protectionChanges_ = d_.protectedApplications->subscribeToChanges(
            [this](const auto&) { rebuildApplications(); });
    }
    activation_ = d_.bridge->observeActivation([this] { readActiveWindow(); });
    if (d_.sessionEvents) {
        sessionWillSleep_ =
            d_.sessionEvents->observeWillSleep([signal = willSleep_] { signal->emit(); });
    }
    rebuildApplications();
    if (const auto active = d_.bridge->activeWindow()) {
        if (const auto* window = d_.bridge->window(*active)) {
            frontmost_ = window->pid;
        }
    }
}

KWinWorkspace::~KWinWorkspace() {
    for (auto& [pid, watch] : watches_) {
        watch.watch.reset();
        close(watch.pidfd);
    }
}

std::optional<RunningApplication> KWinWorkspace::frontmostApplication() const {
    return frontmost_ ? runningApplication(*frontmost_) : std::nullopt;
}

std::vector<RunningApplication> KWinWorkspace::runningApplications() const {
    return applications_;
}

std::optional<RunningApplication> KWinWorkspace::runningApplication(ProcessId pid) const {
    const auto found =
        std::find_if(applications_.begin(), applications_.end(),
                     [pid](const auto& app) { return app.processIdentifier == pid; });
    return found == applications_.end() ? std::nullopt : std::optional{*found};
}

bool KWinWorkspace::activate(ProcessId pid) {
    const auto windows = windowsOf(pid);
    if (windows.empty()) {
        return false;
    }
    // Its frontmost window, preferring normal ones to panels and popups.
    const auto top = std::max_element(windows.begin(), windows.end(), [](auto* a, auto* b) {
        return std::pair(a->normal, a->stacking) < std::pair(b->normal, b->stacking);
    });
    d_.bridge->send(kwin::activate((*top)->number));
    return true;
}

bool KWinWorkspace::hide(ProcessId pid) {
    const auto windows = windowsOf(pid);
    for (const kwin::Window* window : windows) {
        d_.bridge->send(kwin::hide(window->number));
    }
    if (!windows.empty()) {
        forgetFrontmost(pid);
    }
    return !windows.empty();
}

void KWinWorkspace::forgetFrontmost(std::optional<ProcessId> pid) {
    // Hidden, it is no longer in front, even where nothing else takes the keyboard: brought
    // back, the same application too, it is news.
    if (frontmost_ && (!pid || frontmost_ == pid)) {
        frontmost_.reset();
        post(didActivate_, std::nullopt);
    }
}

Subscription KWinWorkspace::observeDidActivateApplication(ActivationHandler handler) {
    return didActivate_->connect(std::move(handler));
}

Subscription KWinWorkspace::observeDidTerminateApplication(TerminationHandler handler) {
    return didTerminate_->connect(std::move(handler));
}

Subscription KWinWorkspace::observeWillSleep(SystemEventHandler handler) {
    return willSleep_->connect(std::move(handler));
}

Subscription KWinWorkspace::observeScreensDidSleep(SystemEventHandler handler) {
    return never_.connect(std::move(handler));
}

Subscription KWinWorkspace::observeScreensDidWake(SystemEventHandler handler) {
    return never_.connect(std::move(handler));
}

std::vector<const kwin::Window*> KWinWorkspace::windowsOf(ProcessId pid) const {
    std::vector<const kwin::Window*> windows;
    if (ended_.contains(pid)) {
        return windows;
    }
    for (const auto& [number, window] : d_.bridge->windows()) {
        if (window.pid == pid && !window.shield) {
            windows.push_back(&window);
        }
    }
    return windows;
}

void KWinWorkspace::rebuildApplications() {
    std::vector<ProcessId> order;
    std::map<ProcessId, std::vector<const kwin::Window*>> windows;
    // By number: the order windows appeared in.
    for (const auto& [number, window] : d_.bridge->windows()) {
        if (window.shield || window.pid <= 0 || ended_.contains(window.pid)) {
            continue;
        }
        auto& owned = windows[window.pid];
        if (owned.empty()) {
            order.push_back(window.pid);
        }
        owned.push_back(&window);
    }
    std::erase_if(ended_, [&](ProcessId pid) { return !windows.contains(pid); });

    applications_.clear();
    for (const ProcessId pid : order) {
        applications_.push_back(describe(pid, windows[pid]));
        lastKnown_[pid] = applications_.back();
        watchProcess(pid);
    }
    for (auto it = unwatchable_.begin(); it != unwatchable_.end();) {
        const ProcessId pid = *it;
        it = windows.contains(pid) ? std::next(it) : unwatchable_.erase(it);
        if (!windows.contains(pid)) {
            processEnded(pid);
        }
    }
}

RunningApplication KWinWorkspace::describe(ProcessId pid,
                                           const std::vector<const kwin::Window*>& owned) const {
    ProcessWindows process{.pid = pid, .windows = {}};
    const auto executable = executableOf(pid);
    for (const kwin::Window* window : owned) {
        process.windows.push_back({.kdeDesktopFile = nonEmpty(window->desktopFile),
                                   .wmClassInstance = nonEmpty(window->resourceName),
                                   .wmClassClass = nonEmpty(window->resourceClass),
                                   .executablePath = executable});
        process.regular = process.regular || window->normal;
    }
    RunningApplication app =
        nameProcess(process, *d_.directory,
                    d_.protectedApplications ? d_.protectedApplications->get()
                                             : std::vector<ApplicationIdentities>{});
    if (pid == ownPid_) {
        app.bundleIdentifier = d_.ownBundleIdentifier;
        app.localizedName = ownName;
    }
    return app;
}

void KWinWorkspace::readActiveWindow() {
    const auto active = d_.bridge->activeWindow();
    if (!active) {
        forgetFrontmost(std::nullopt);
        return;
    }
    const kwin::Window* window = d_.bridge->window(*active);
    if (!window || window->shield || frontmost_ == window->pid) {
        return;
    }
    const auto app = runningApplication(window->pid);
    if (!app) {
        return;
    }
    frontmost_ = window->pid;
    post(didActivate_, app);
}

void KWinWorkspace::watchProcess(ProcessId pid) {
    if (pid == ownPid_ || watches_.contains(pid) || unwatchable_.contains(pid)) {
        return;
    }
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidfd < 0) {
        if (errno == ESRCH) {
            processEnded(pid);
        } else {
            d_.logger->warn("Cannot watch process " + std::to_string(pid) + " (errno " +
                            std::to_string(errno) + "); it counts as ended with its windows");
            unwatchable_.insert(pid);
        }
        return;
    }
    watches_[pid] = {pidfd,
                     std::make_unique<ReadableWatch>(pidfd, [this, pid] { processEnded(pid); })};
}

void KWinWorkspace::processEnded(ProcessId pid) {
    if (const auto watch = watches_.find(pid); watch != watches_.end()) {
        // The watch's own callback may be running: it goes after this work.
        auto ending = std::make_shared<ProcessWatch>(std::move(watch->second));
        watches_.erase(watch);
        ending->watch->setEnabled(false);
        d_.runLoop->post([ending] {
            ending->watch.reset();
            close(ending->pidfd);
        });
    }
    const auto known = lastKnown_.find(pid);
    if (known == lastKnown_.end()) {
        return;
    }
    RunningApplication app = std::move(known->second);
    lastKnown_.erase(known);
    app.isTerminated = true;
    ended_.insert(pid);
    std::erase_if(applications_, [pid](const auto& a) { return a.processIdentifier == pid; });
    if (frontmost_ == pid) {
        frontmost_.reset();
    }
    post(didTerminate_, std::move(app));
}

void KWinWorkspace::post(const std::shared_ptr<ApplicationSignal>& signal,
                         std::optional<RunningApplication> app) {
    d_.runLoop->post([weak = std::weak_ptr(signal), app = std::move(app)] {
        if (const auto signal = weak.lock()) {
            signal->emit(app);
        }
    });
}

} // namespace velmora
