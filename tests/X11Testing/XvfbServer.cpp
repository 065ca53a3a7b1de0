#include "X11Testing/XvfbServer.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <poll.h>
#include <stdexcept>
#include <xcb/xcb.h>

namespace velmora::testing {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::chrono::seconds kStartTimeout{10};

int remainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Focus follows clicks and new windows, two desktops, iconify animation as asked; the rest
// are openbox's defaults.
std::string openboxConfig(bool animations) {
    const std::string animate = animations ? "yes" : "no";
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <focus><focusNew>yes</focusNew><followMouse>no</followMouse></focus>
  <desktops><number>2</number></desktops>
  <theme><animateIconify>)" +
           animate + R"(</animateIconify></theme>
</openbox_config>
)";
}

// No bar, so that windows tile over the whole screen; focus follows clicks as in openbox.
constexpr const char* kI3Config =
    "# i3 config file (v4)\nfont pango:DejaVu Sans 8\nfocus_follows_mouse no\n";

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

std::vector<xcb_window_t> windowsProperty(xcb_connection_t* c, xcb_window_t window,
                                          xcb_atom_t property) {
    auto* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 4096), nullptr);
    std::vector<xcb_window_t> windows;
    if (reply) {
        const auto* first = static_cast<const xcb_window_t*>(xcb_get_property_value(reply));
        windows.assign(first, first + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
    return windows;
}

// Hands every event to `onEvent` until `condition` holds or the deadline passes.
bool waitForCondition(
    xcb_connection_t* c, Clock::time_point deadline, const std::function<bool()>& condition,
    const std::function<void(const xcb_generic_event_t*)>& onEvent = [](auto*) {}) {
    while (!condition()) {
        bool drained = false;
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            onEvent(event);
            std::free(event);
            drained = true;
        }
        // Events read during the check are already queued: look again before waiting.
        pollfd readable{xcb_get_file_descriptor(c), POLLIN, 0};
        if (!drained && poll(&readable, 1, remainingMs(deadline)) <= 0) {
            return condition();
        }
    }
    return true;
}

} // namespace

XvfbServer::XvfbServer(Options options) : options_(std::move(options)) {
    configHome_.write("openbox/rc.xml", openboxConfig(options_.animations));
    configHome_.write("i3/config", kI3Config);
    // -noreset: the server keeps its state when a test's last connection closes.
    std::vector<std::string> argv{"Xvfb",        "-displayfd", "{fd}", "-screen", "0",
                                  "1280x800x24", "-nolisten",  "tcp",  "-noreset"};
    argv.insert(argv.end(), options_.serverArguments.begin(), options_.serverArguments.end());
    std::string number;
    xvfb_ = startReporting(std::move(argv), number, kStartTimeout);
    display_ = ":" + number;

    if (options_.windowManager) {
        startWindowManager();
    }
}

XvfbServer::XvfbServer() : XvfbServer(Options{}) {}

ChildProcess::Environment XvfbServer::environment() const {
    return {{"DISPLAY", display_}, {"XDG_CONFIG_HOME", configHome_.path()}};
}

void XvfbServer::startWindowManager() {
    windowManager_ = std::make_unique<ChildProcess>(
        options_.tiling ? std::vector<std::string>{"i3", "-c", configHome_.path("i3/config")}
                        : std::vector<std::string>{"openbox", "--sm-disable"},
        environment());

    xcb_connection_t* c = xcb_connect(display_.c_str(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        throw std::runtime_error("cannot connect to " + display_);
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t root = screen->root;
    const uint32_t rootMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    const xcb_atom_t check = internAtom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_atom_t clientList = internAtom(c, "_NET_CLIENT_LIST");
    const auto deadline = Clock::now() + kStartTimeout;

    // The check window names itself once the manager runs.
    bool ready = waitForCondition(c, deadline, [&] {
        const auto window = windowsProperty(c, root, check);
        return window.size() == 1 && windowsProperty(c, window.front(), check) == window;
    });

    // A manager announces itself before it handles map requests; a probe window that it maps
    // and then forgets again shows that it does.
    const xcb_window_t probe = xcb_generate_id(c);
    const uint32_t probeMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, probe, root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_EVENT_MASK,
                      &probeMask);
    bool mapped = false;
    while (ready && !mapped && windowManager_->isRunning() && Clock::now() < deadline) {
        xcb_unmap_window(c, probe);
        xcb_map_window(c, probe);
        xcb_flush(c);
        waitForCondition(
            c, std::min(deadline, Clock::now() + std::chrono::milliseconds{100}),
            [&] { return mapped; },
            [&](const xcb_generic_event_t* event) {
                mapped = mapped ||
                         ((event->response_type & 0x7f) == XCB_MAP_NOTIFY &&
                          reinterpret_cast<const xcb_map_notify_event_t*>(event)->window == probe);
            });
    }
    xcb_destroy_window(c, probe);
    xcb_flush(c);
    ready = mapped && waitForCondition(c, deadline, [&] {
                const auto clients = windowsProperty(c, root, clientList);
                return std::ranges::find(clients, probe) == clients.end();
            });
    xcb_disconnect(c);
    if (!ready || !windowManager_->isRunning()) {
        throw std::runtime_error("the window manager did not come up on " + display_);
    }
}

void XvfbServer::kill() {
    windowManager_.reset();
    xvfb_->kill();
}

} // namespace velmora::testing
