#include "Ui/X11KeyboardGrab.hpp"

#include "Ui/X11VelmoraWindows.hpp"

#include <QGuiApplication>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <algorithm>

namespace velmora {
namespace {

// While another client holds the keyboard.
constexpr Seconds kRetryInterval{0.05};

xcb_connection_t* qtConnection() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

struct Area {
    int x, y, width, height;

    [[nodiscard]] bool holds(const Area& inner) const {
        return inner.x >= x && inner.y >= y && inner.x + inner.width <= x + width &&
               inner.y + inner.height <= y + height;
    }
};

} // namespace

X11KeyboardGrab::X11KeyboardGrab(std::shared_ptr<XcbConnection> connection,
                                 std::shared_ptr<RunLoop> runLoop, ShownOverlays shownOverlays,
                                 std::shared_ptr<const X11FocusGrabs> focusGrabs)
    : connection_(std::move(connection)), runLoop_(std::move(runLoop)),
      shownOverlays_(std::move(shownOverlays)), focusGrabs_(std::move(focusGrabs)) {
    connection_->selectRootEvents(XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY |
                                  XCB_EVENT_MASK_PROPERTY_CHANGE);
    events_ = connection_->observeEvents(
        [this](const xcb_generic_event_t& event) { handleEvent(event); });
}

X11KeyboardGrab::~X11KeyboardGrab() {
    lifetime_.end();
    timer_.invalidate();
    release();
}

void X11KeyboardGrab::handleEvent(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7f) {
    // Focus changes of managed windows, another client's grab ending, windows coming and
    // going: each may change what has the keys.
    case XCB_FOCUS_IN:
    case XCB_FOCUS_OUT:
    case XCB_MAP_NOTIFY:
    case XCB_UNMAP_NOTIFY:
        scheduleCheck();
        break;
    case XCB_CONFIGURE_NOTIFY: {
        const auto window = reinterpret_cast<const xcb_configure_notify_event_t&>(event).window;
        const auto overlays = shownOverlays_();
        if (std::any_of(overlays.begin(), overlays.end(), [&](QWindow* overlay) {
                return static_cast<xcb_window_t>(overlay->winId()) == window;
            })) {
            scheduleCheck();
        }
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (notify.window == connection_->root() &&
            notify.atom == connection_->ewmh()->_NET_ACTIVE_WINDOW) {
            scheduleCheck();
        }
        break;
    }
    default:
        break;
    }
}

void X11KeyboardGrab::scheduleCheck() {
    if (checkScheduled_) {
        return;
    }
    checkScheduled_ = true;
    runLoop_->post(lifetime_.guard([this] { check(); }));
}

void X11KeyboardGrab::check() {
    checkScheduled_ = false;
    const auto overlays = shownOverlays_();
    if (overlays.empty()) {
        release();
        setTimer(Seconds{0});
        return;
    }
    // No timer while settled: a focus change, also one a client makes without the window
    // manager, and the end of any grab come as focus events of the managed windows.
    if (!wanted(overlays)) {
        release();
        setTimer(Seconds{0});
        return;
    }
    // Asked again even while held: a grab of Qt's own (a tray menu) replaces this one and
    // ends it when it ends. Refused while the focus-in grab of the focused window holds the
    // keyboard; when that grab ends, the focus moves and this is looked at again.
    const bool ours = take() || focusGrabs_->holds(focused_);
    setTimer(ours ? Seconds{0} : kRetryInterval);
}

bool X11KeyboardGrab::wanted(const std::vector<QWindow*>& overlays) {
    xcb_connection_t* c = connection_->get();
    const xcb_window_t root = connection_->root();
    focused_ = XCB_WINDOW_NONE;
    const auto focus = connection_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(c));
    if (!focus || focus->focus == XCB_WINDOW_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        focus->focus == root) {
        return false;
    }
    const xcb_window_t focused = focus->focus;
    focused_ = focused;
    // The prompt keeps the grab it was opened under, but never takes one: a grab taken while
    // a Qt window has the focus would take that focus from Qt.
    if (isVelmoraWindow(focused)) {
        return held_;
    }
    if (focusGrabs_->holds(focused)) {
        return true;
    }
    const auto focusedGeometry = xcb_get_geometry(c, focused);
    const auto focusedOrigin = xcb_translate_coordinates(c, focused, root, 0, 0);
    std::vector<xcb_get_geometry_cookie_t> overlayGeometries;
    for (QWindow* overlay : overlays) {
        overlayGeometries.push_back(
            xcb_get_geometry(c, static_cast<xcb_window_t>(overlay->winId())));
    }
    const auto geometry = connection_->reply(xcb_get_geometry_reply, focusedGeometry);
    const auto origin = connection_->reply(xcb_translate_coordinates_reply, focusedOrigin);
    bool covered = false;
    for (const auto cookie : overlayGeometries) {
        const auto cover = connection_->reply(xcb_get_geometry_reply, cookie);
        covered =
            covered || (geometry && origin && cover &&
                        Area{cover->x, cover->y, cover->width, cover->height}.holds(
                            {origin->dst_x, origin->dst_y, geometry->width, geometry->height}));
    }
    return covered;
}

void X11KeyboardGrab::setTimer(Seconds interval) {
    if (interval == timerInterval_ && (timer_.isValid() || interval == Seconds{0})) {
        return;
    }
    timer_.invalidate();
    timerInterval_ = interval;
    if (interval > Seconds{0}) {
        timer_ = runLoop_->every(interval, lifetime_.guard([this] { check(); }));
    }
}

bool X11KeyboardGrab::take() {
    xcb_connection_t* qt = qtConnection();
    if (!qt) {
        return false;
    }
    // Owner events: keys for Velmora's own windows reach them, all others go to the root.
    XcbConnection::Reply<xcb_grab_keyboard_reply_t> reply{
        xcb_grab_keyboard_reply(qt,
                                xcb_grab_keyboard(qt, 1, connection_->root(), XCB_CURRENT_TIME,
                                                  XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
                                nullptr)};
    held_ = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    return held_;
}

void X11KeyboardGrab::release() {
    if (!held_) {
        return;
    }
    held_ = false;
    if (xcb_connection_t* qt = qtConnection()) {
        xcb_ungrab_keyboard(qt, XCB_CURRENT_TIME);
        xcb_flush(qt);
    }
}

} // namespace velmora
