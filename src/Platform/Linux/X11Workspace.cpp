#include "Platform/Linux/X11Workspace.hpp"

#include "Platform/Linux/ProcessNaming.hpp"
#include "Platform/Linux/X11WindowManagerCalls.hpp"

#include <algorithm>
#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>
#include <xcb/dpms.h>

namespace velmora {
namespace {

constexpr const char* ownName = "Velmora";
constexpr Seconds displayPowerInterval{1.0};

} // namespace

X11Workspace::X11Workspace(Dependencies dependencies)
    : d_(std::move(dependencies)), ownPid_(getpid()) {
    const auto* dpms = xcb_get_extension_data(d_.connection->get(), &xcb_dpms_id);
    hasDisplayPower_ = dpms && dpms->present;
    d_.connection->selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    clientChanges_ = d_.clients->observeChanges([this] { rebuildApplications(); });
    events_ = d_.connection->observeEvents(
        [this](const xcb_generic_event_t& event) { handleEvent(event); });
    if (d_.protectedApplications) {
        protectionChanges_ = d_.protectedApplications->subscribeToChanges(
            [this](const auto&) { rebuildApplications(); });
    }
    if (d_.sessionEvents) {
        sessionWillSleep_ =
            d_.sessionEvents->observeWillSleep([signal = willSleep_] { signal->emit(); });
    }
    rebuildApplications();
    readActiveWindow(false);
}

X11Workspace::~X11Workspace() {
    displayPowerTimer_.invalidate();
    for (auto& [pid, watch] : watches_) {
        watch.watch.reset();
        close(watch.pidfd);
    }
}

std::optional<RunningApplication> X11Workspace::frontmostApplication() const {
    return frontmost_ ? runningApplication(*frontmost_) : std::nullopt;
}

std::vector<RunningApplication> X11Workspace::runningApplications() const {
    return applications_;
}

std::optional<RunningApplication> X11Workspace::runningApplication(ProcessId pid) const {
    const auto found =
        std::find_if(applications_.begin(), applications_.end(),
                     [pid](const auto& app) { return app.processIdentifier == pid; });
    return found == applications_.end() ? std::nullopt : std::optional{*found};
}

bool X11Workspace::activate(ProcessId pid) {
    const auto windows = windowsOf(pid);
    if (windows.empty()) {
        return false;
    }
    xcb_connection_t* c = d_.connection->get();
    auto* ewmh = d_.connection->ewmh();
    // The topmost of its windows: the stacking list runs bottom to top.
    const auto stacking = d_.connection->reply(
        xcb_get_property_reply,
        xcb_get_property(c, 0, d_.connection->root(), ewmh->_NET_CLIENT_LIST_STACKING,
                         XCB_ATOM_WINDOW, 0, UINT32_MAX / 4));
    xcb_window_t target = windows.back();
    if (stacking && stacking->format == 32) {
        const auto* first =
            static_cast<const xcb_window_t*>(xcb_get_property_value(stacking.get()));
        const auto* last = first + xcb_get_property_value_length(stacking.get()) / 4;
        const auto top =
            std::find_first_of(std::make_reverse_iterator(last), std::make_reverse_iterator(first),
                               windows.begin(), windows.end());
        if (top != std::make_reverse_iterator(first)) {
            target = *top;
        }
    }
    if (isIconic(target)) {
        xcb_map_window(c, target);
    }
    xcb_ewmh_request_change_active_window(ewmh, d_.connection->screenNumber(), target,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                          XCB_WINDOW_NONE);
    d_.connection->flush();
    return true;
}

bool X11Workspace::hide(ProcessId pid) {
    const auto windows = windowsOf(pid);
    if (windows.empty()) {
        return false;
    }
    const xcb_atom_t changeState = d_.connection->atom("WM_CHANGE_STATE");
    for (const xcb_window_t window : windows) {
        requestIconic(d_.connection->get(), d_.connection->root(), window, changeState);
    }
    d_.connection->flush();
    forgetFrontmost(pid);
    return true;
}

void X11Workspace::forgetFrontmost(ProcessId pid) {
    // Hidden, it is no longer in front, even where nothing else takes the focus: brought back,
    // it is news.
    if (frontmost_ == pid) {
        frontmost_.reset();
        post(didActivate_, std::nullopt);
    }
}

Subscription X11Workspace::observeDidActivateApplication(ActivationHandler handler) {
    return didActivate_->connect(std::move(handler));
}

Subscription X11Workspace::observeDidTerminateApplication(TerminationHandler handler) {
    return didTerminate_->connect(std::move(handler));
}

Subscription X11Workspace::observeWillSleep(SystemEventHandler handler) {
    return willSleep_->connect(std::move(handler));
}

Subscription X11Workspace::observeScreensDidSleep(SystemEventHandler handler) {
    startDisplayPowerPolling();
    return screensDidSleep_->connect(std::move(handler));
}

Subscription X11Workspace::observeScreensDidWake(SystemEventHandler handler) {
    startDisplayPowerPolling();
    return screensDidWake_->connect(std::move(handler));
}

void X11Workspace::rebuildApplications() {
    std::vector<ProcessId> order;
    std::map<ProcessId, std::vector<const X11ClientList::Client*>> windows;
    for (const auto& client : d_.clients->clients()) {
        if (!client.pid || ended_.contains(*client.pid)) {
            continue;
        }
        auto& owned = windows[*client.pid];
        if (owned.empty()) {
            order.push_back(*client.pid);
        }
        owned.push_back(&client);
    }
    std::erase_if(ended_, [&](ProcessId pid) { return !windows.contains(pid); });

    applications_.clear();
    for (const ProcessId pid : order) {
        applications_.push_back(describe(pid, windows[pid]));
        lastKnown_[pid] = applications_.back();
        watchProcess(pid);
    }
    // Without a descriptor to watch, a process is taken to end with its last window.
    for (auto it = unwatchable_.begin(); it != unwatchable_.end();) {
        const ProcessId pid = *it;
        it = windows.contains(pid) ? std::next(it) : unwatchable_.erase(it);
        if (!windows.contains(pid)) {
            processEnded(pid);
        }
    }
}

RunningApplication X11Workspace::describe(ProcessId pid,
                                          const std::vector<const X11ClientList::Client*>& owned) {
    ProcessWindows process{.pid = pid, .windows = {}};
    for (const auto* client : owned) {
        process.windows.push_back(client->identity);
        process.regular = process.regular || client->isNormal;
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

void X11Workspace::watchProcess(ProcessId pid) {
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

void X11Workspace::processEnded(ProcessId pid) {
    if (const auto watch = watches_.find(pid); watch != watches_.end()) {
        // The watch's own callback may be running: the notifier goes after this work, and
        // before its descriptor closes, so no other watch on a reused number is touched.
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

void X11Workspace::handleEvent(const xcb_generic_event_t& event) {
    if ((event.response_type & 0x7f) != XCB_PROPERTY_NOTIFY) {
        return;
    }
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    if (notify.window == d_.connection->root() &&
        notify.atom == d_.connection->ewmh()->_NET_ACTIVE_WINDOW) {
        readActiveWindow(true);
    }
}

void X11Workspace::readActiveWindow(bool announce) {
    xcb_connection_t* c = d_.connection->get();
    const auto active = d_.connection->reply(
        xcb_get_property_reply,
        xcb_get_property(c, 0, d_.connection->root(), d_.connection->ewmh()->_NET_ACTIVE_WINDOW,
                         XCB_ATOM_WINDOW, 0, 1));
    if (!active || xcb_get_property_value_length(active.get()) < 4) {
        return;
    }
    const xcb_window_t window =
        *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    if (window == XCB_WINDOW_NONE) {
        // Minimized by the window manager, with nothing else to take the focus: brought back,
        // it is news. Focus merely passing between windows names no window for a moment too.
        if (frontmost_) {
            const auto windows = windowsOf(*frontmost_);
            if (std::all_of(windows.begin(), windows.end(),
                            [this](xcb_window_t w) { return isIconic(w); })) {
                forgetFrontmost(*frontmost_);
            }
        }
        return;
    }
    // The manager may name a window before the client list that holds it has reached us.
    if (!d_.clients->client(window)) {
        d_.clients->refresh();
    }
    const auto* client = d_.clients->client(window);
    if (!client || !client->pid || frontmost_ == client->pid) {
        return;
    }
    const auto app = runningApplication(*client->pid);
    if (!app) {
        return;
    }
    frontmost_ = client->pid;
    if (announce) {
        post(didActivate_, app);
    }
}

std::vector<xcb_window_t> X11Workspace::windowsOf(ProcessId pid) const {
    std::vector<xcb_window_t> windows;
    if (ended_.contains(pid)) {
        return windows;
    }
    for (const auto& client : d_.clients->clients()) {
        if (client.pid == pid) {
            windows.push_back(client.window);
        }
    }
    return windows;
}

bool X11Workspace::isIconic(xcb_window_t window) const {
    const xcb_atom_t wmState = d_.connection->atom("WM_STATE");
    const auto state = d_.connection->reply(
        xcb_get_property_reply,
        xcb_get_property(d_.connection->get(), 0, window, wmState, wmState, 0, 1));
    return velmora::isIconic(state.get());
}

void X11Workspace::startDisplayPowerPolling() {
    if (!hasDisplayPower_ || displayPowerTimer_.isValid()) {
        return;
    }
    pollDisplayPower(false);
    displayPowerTimer_ =
        d_.runLoop->every(displayPowerInterval, [this] { pollDisplayPower(true); });
}

void X11Workspace::pollDisplayPower(bool announce) {
    xcb_connection_t* c = d_.connection->get();
    const auto info = d_.connection->reply(xcb_dpms_info_reply, xcb_dpms_info(c));
    if (!info) {
        return;
    }
    const bool on = !info->state || info->power_level == XCB_DPMS_DPMS_MODE_ON;
    if (on == displaysOn_) {
        return;
    }
    displaysOn_ = on;
    if (announce) {
        post(on ? screensDidWake_ : screensDidSleep_);
    }
}

void X11Workspace::post(const std::shared_ptr<ApplicationSignal>& signal,
                        std::optional<RunningApplication> app) {
    d_.runLoop->post([weak = std::weak_ptr(signal), app = std::move(app)] {
        if (const auto signal = weak.lock()) {
            signal->emit(app);
        }
    });
}

void X11Workspace::post(const std::shared_ptr<Signal<>>& signal) {
    d_.runLoop->post([weak = std::weak_ptr(signal)] {
        if (const auto signal = weak.lock()) {
            signal->emit();
        }
    });
}

} // namespace velmora
