#include "Platform/Linux/X11FocusGrabs.hpp"

#include <algorithm>
#include <utility>
#include <xcb/xinput.h>

namespace velmora {
namespace {

// Frame, the window manager's inner frame, the client, the client's focus proxy: focus goes
// to one of these. A bound, as a client may nest thousands of windows.
constexpr int kLevels = 4;
constexpr std::size_t kMaxWindows = 64;
// Keys are selected only so that the grabs have a mask; nothing reads them.
constexpr uint32_t kKeys = XCB_INPUT_XI_EVENT_MASK_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_KEY_RELEASE;

} // namespace

X11FocusGrabs::X11FocusGrabs(std::shared_ptr<XcbConnection> connection)
    : connection_(std::move(connection)) {
    xcb_connection_t* c = connection_->get();
    const auto* xinput = xcb_get_extension_data(c, &xcb_input_id);
    if (!xinput || !xinput->present) {
        return;
    }
    const auto version =
        connection_->reply(xcb_input_xi_query_version_reply, xcb_input_xi_query_version(c, 2, 2));
    supported_ = version && version->major_version >= 2;
    const auto devices = connection_->reply(
        xcb_input_xi_query_device_reply, xcb_input_xi_query_device(c, XCB_INPUT_DEVICE_ALL_MASTER));
    if (!devices) {
        return;
    }
    events_ = connection_->observeEvents(
        [this](const xcb_generic_event_t& event) { handleEvent(event); });
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem;
         xcb_input_xi_device_info_next(&it)) {
        if (it.data->type == XCB_INPUT_DEVICE_TYPE_MASTER_KEYBOARD) {
            keyboards_.push_back(it.data->deviceid);
        }
    }
}

void X11FocusGrabs::hold(xcb_window_t frame) {
    Held& held = held_[frame];
    if (held.users++ > 0 || !supported_) {
        return;
    }
    // Covers come many at a time (Lock All): the frames of one turn are walked together,
    // one round trip a level rather than one a level a frame.
    pending_.push_back(frame);
    if (pending_.size() == 1) {
        connection_->runLoop().post(lifetime_.guard([this] { grabPending(); }));
    }
}

void X11FocusGrabs::grabPending() {
    std::vector<xcb_window_t> frames = std::exchange(pending_, {});
    std::erase_if(frames, [&](xcb_window_t frame) { return !held_.contains(frame); });
    const auto windows = windowsIn(frames);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        held_[frames[i]].windows = windows[i];
        for (const xcb_window_t window : windows[i]) {
            grab(window, true);
        }
    }
    connection_->flush();
}

void X11FocusGrabs::drop(xcb_window_t frame) {
    const auto it = held_.find(frame);
    if (it == held_.end() || --it->second.users > 0) {
        return;
    }
    const std::vector<xcb_window_t> windows = std::move(it->second.windows);
    held_.erase(it);
    std::erase(pending_, frame);
    for (const xcb_window_t window : windows) {
        grab(window, false);
    }
    if (!windows.empty()) {
        releaseKeyboardUnlessHeld();
    }
    connection_->flush();
}

bool X11FocusGrabs::holds(xcb_window_t window) const {
    return std::any_of(held_.begin(), held_.end(), [&](const auto& entry) {
        const auto& windows = entry.second.windows;
        return std::find(windows.begin(), windows.end(), window) != windows.end();
    });
}

std::vector<std::vector<xcb_window_t>>
X11FocusGrabs::windowsIn(const std::vector<xcb_window_t>& frames) const {
    xcb_connection_t* c = connection_->get();
    std::vector<std::vector<xcb_window_t>> found;
    // Each window of the level being looked at, with the frame it belongs to.
    std::vector<std::pair<std::size_t, xcb_window_t>> level;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        found.push_back({frames[i]});
        level.emplace_back(i, frames[i]);
    }
    for (int depth = 1; depth < kLevels && !level.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> cookies;
        for (const auto& [frame, window] : level) {
            cookies.push_back(xcb_query_tree(c, window));
        }
        const auto asked = std::exchange(level, {});
        for (std::size_t k = 0; k < asked.size(); ++k) {
            const auto tree = connection_->reply(xcb_query_tree_reply, cookies[k]);
            if (!tree) {
                continue;
            }
            const std::size_t frame = asked[k].first;
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            const int count = xcb_query_tree_children_length(tree.get());
            for (int i = 0; i < count && found[frame].size() < kMaxWindows; ++i) {
                found[frame].push_back(children[i]);
                level.emplace_back(frame, children[i]);
            }
        }
    }
    return found;
}

void X11FocusGrabs::grab(xcb_window_t window, bool on) {
    xcb_connection_t* c = connection_->get();
    const uint32_t anyModifier = XCB_INPUT_MODIFIER_MASK_ANY;
    if (!on) {
        xcb_input_xi_passive_ungrab_device(c, window, 0, XCB_INPUT_DEVICE_ALL_MASTER, 1,
                                           XCB_INPUT_GRAB_TYPE_FOCUS_IN, &anyModifier);
        return;
    }
    const auto cookie = xcb_input_xi_passive_grab_device(
        c, XCB_CURRENT_TIME, window, XCB_NONE, 0, XCB_INPUT_DEVICE_ALL_MASTER, 1, 1,
        XCB_INPUT_GRAB_TYPE_FOCUS_IN, XCB_INPUT_GRAB_MODE_22_ASYNC, XCB_INPUT_GRAB_MODE_22_ASYNC,
        XCB_INPUT_GRAB_OWNER_NO_OWNER, &kKeys, &anyModifier);
    xcb_discard_reply(c, cookie.sequence);
}

void X11FocusGrabs::handleEvent(const xcb_generic_event_t& event) {
    const auto type = event.response_type & 0x7f;
    if (type == XCB_FOCUS_IN) {
        const auto& focus = reinterpret_cast<const xcb_focus_in_event_t&>(event);
        if (focus.mode == XCB_NOTIFY_MODE_GRAB && holds(focus.event)) {
            holdKeyboard(focus.event);
        }
        return;
    }
    if (type != XCB_FOCUS_OUT || !holdingKeyboard_ || checkPosted_) {
        return;
    }
    // Looked at after the events at hand: the focus given again comes right after its
    // own focus-out.
    checkPosted_ = true;
    connection_->runLoop().post(lifetime_.guard([this] {
        checkPosted_ = false;
        releaseKeyboardUnlessHeld();
        connection_->flush();
    }));
}

void X11FocusGrabs::holdKeyboard(xcb_window_t focused) {
    xcb_connection_t* c = connection_->get();
    // Made by this client, it replaces the grab that took the keyboard, with no gap.
    for (const uint16_t keyboard : keyboards_) {
        const auto cookie =
            xcb_input_xi_grab_device(c, connection_->root(), XCB_CURRENT_TIME, XCB_NONE, keyboard,
                                     XCB_INPUT_GRAB_MODE_22_ASYNC, XCB_INPUT_GRAB_MODE_22_ASYNC,
                                     XCB_INPUT_GRAB_OWNER_NO_OWNER, 1, &kKeys);
        xcb_discard_reply(c, cookie.sequence);
    }
    holdingKeyboard_ = true;
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_NONE, XCB_CURRENT_TIME);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, focused, XCB_CURRENT_TIME);
    connection_->flush();
}

void X11FocusGrabs::giveFocusTo(xcb_window_t window) {
    xcb_connection_t* c = connection_->get();
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    if (std::exchange(holdingKeyboard_, false)) {
        for (const uint16_t keyboard : keyboards_) {
            xcb_input_xi_ungrab_device(c, XCB_CURRENT_TIME, keyboard);
        }
    }
    connection_->flush();
}

void X11FocusGrabs::releaseKeyboardUnlessHeld() {
    // A grab that became active stays when its passive grab goes: let it go, unless the
    // focus sits in another window still covered.
    const auto focus =
        connection_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(connection_->get()));
    if (focus && holds(focus->focus)) {
        return;
    }
    holdingKeyboard_ = false;
    for (const uint16_t keyboard : keyboards_) {
        xcb_input_xi_ungrab_device(connection_->get(), XCB_CURRENT_TIME, keyboard);
    }
}

} // namespace velmora
