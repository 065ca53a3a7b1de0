#include "WindowIconifier.hpp"

#include "Platform/Linux/X11WindowManagerCalls.hpp"
#include "Platform/Linux/XcbProperty.hpp"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace velmora {

std::unique_ptr<WindowIconifier> WindowIconifier::connect(Logging& log) {
    // On a Wayland session without XWayland there is nothing to iconify here: Velmora's KWin
    // script hides the windows, and the guard only starts Velmora again; sway has no script,
    // so there the guard moves them to the scratchpad itself.
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* swaySocket = std::getenv("SWAYSOCK");
    if ((!display || !*display) && wayland && *wayland && swaySocket && *swaySocket) {
        auto iconifier = std::unique_ptr<WindowIconifier>(new WindowIconifier(nullptr, 0));
        iconifier->sway_ = SwayHider::connect(swaySocket);
        if (!iconifier->sway_) {
            log.error("Cannot reach sway at " + std::string(swaySocket));
            return nullptr;
        }
        log.info("On sway: protected windows are hidden in the scratchpad");
        return iconifier;
    }
    if ((!display || !*display) && wayland && *wayland) {
        log.info("No X server on this Wayland session: the compositor hides the windows");
        return std::unique_ptr<WindowIconifier>(new WindowIconifier(nullptr, XCB_WINDOW_NONE));
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        log.error("Cannot reach the X server");
        return nullptr;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    return std::unique_ptr<WindowIconifier>(new WindowIconifier(connection, screens.data->root));
}

WindowIconifier::WindowIconifier(xcb_connection_t* connection, xcb_window_t root)
    : connection_(connection), root_(root) {
    if (!connection_) {
        return;
    }
    clientList_ = internAtom(connection_, "_NET_CLIENT_LIST");
    wmPid_ = internAtom(connection_, "_NET_WM_PID");
    wmState_ = internAtom(connection_, "WM_STATE");
    wmChangeState_ = internAtom(connection_, "WM_CHANGE_STATE");
    netWmState_ = internAtom(connection_, "_NET_WM_STATE");
    netWmStateHidden_ = internAtom(connection_, "_NET_WM_STATE_HIDDEN");
    gtkApplicationId_ = internAtom(connection_, "_GTK_APPLICATION_ID");
    kdeDesktopFile_ = internAtom(connection_, "_KDE_NET_WM_DESKTOP_FILE");
    covers_ = std::make_unique<GuardCovers>(connection_, root_);
    const xcb_query_extension_reply_t* resource = xcb_get_extension_data(connection_, &xcb_res_id);
    hasResourceExtension_ = resource && resource->present;
}

WindowIconifier::~WindowIconifier() {
    covers_.reset();
    if (connection_) {
        xcb_disconnect(connection_);
    }
}

// Without an X server: a descriptor poll leaves alone, and nothing ever to do.
int WindowIconifier::fileDescriptor() const {
    if (sway_) {
        return sway_->fileDescriptor();
    }
    return connection_ ? xcb_get_file_descriptor(connection_) : -1;
}

bool WindowIconifier::hasFailed() const {
    return (sway_ && sway_->hasFailed()) ||
           (connection_ && xcb_connection_has_error(connection_) != 0);
}

int WindowIconifier::iconify(const std::vector<ProcessId>& pids,
                             const std::vector<ApplicationIdentities>& applications) {
    if (sway_) {
        return sway_->hide(pids, applications);
    }
    if (!connection_) {
        return 0;
    }
    // From now on, changes of the list of managed windows tell of new windows, and frames
    // that move or restack take their covers along.
    const std::uint32_t rootMask =
        XCB_EVENT_MASK_PROPERTY_CHANGE | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &rootMask);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    int requested = 0;
    for (const xcb_window_t window : managedWindows()) {
        if (!isProtected(window, pids, applications)) {
            continue;
        }
        // Its state changes tell when the window manager shows it again.
        xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
        if (isHidden(window)) {
            // Iconified as asked: shown again, it is asked again.
            std::erase(requested_, window);
            continue;
        }
        // Asked once until it complies or the answer is judged, and one the window manager
        // refused is covered: asking again would only make it answer again, without end.
        if (!covers_->isCovered(window) &&
            std::find(requested_.begin(), requested_.end(), window) == requested_.end()) {
            requestIconic(connection_, root_, window, wmChangeState_);
            requested_.push_back(window);
            ++requested;
        }
    }
    closePopups(pids, applications);
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_)) {
        readIn_ = consumeEvent(event) || readIn_;
    }
    return requested;
}

void WindowIconifier::closePopups(const std::vector<ProcessId>& pids,
                                  const std::vector<ApplicationIdentities>& applications) {
    // A menu left open keeps the keyboard and the pointer, iconified or not, until it leaves
    // the screen; unmapping it is what takes its grabs back.
    const XcbReply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, root_), nullptr));
    if (!tree) {
        return;
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    std::vector<xcb_get_window_attributes_cookie_t> cookies;
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        cookies.push_back(xcb_get_window_attributes(connection_, children[i]));
    }
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection_, cookies[i], nullptr));
        if (attributes && attributes->override_redirect &&
            attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            isProtected(children[i], pids, applications)) {
            xcb_unmap_window(connection_, children[i]);
        }
    }
}

bool WindowIconifier::isProtected(xcb_window_t window, const std::vector<ProcessId>& pids,
                                  const std::vector<ApplicationIdentities>& applications) const {
    const auto owner = ownerOf(window);
    return (owner && std::find(pids.begin(), pids.end(), *owner) != pids.end()) ||
           (!applications.empty() && owningApplication(identityOf(window, owner), applications));
}

int WindowIconifier::coverUnhidden() {
    int covered = 0;
    for (const xcb_window_t window : std::exchange(requested_, {})) {
        if (!covers_->isCovered(window) && !isHidden(window)) {
            covers_->cover(window);
            covered += covers_->isCovered(window) ? 1 : 0;
        }
    }
    return covered;
}

void WindowIconifier::uncover() {
    requested_.clear();
    if (covers_) {
        covers_->clear();
    }
}

bool WindowIconifier::readEvents() {
    if (sway_) {
        return sway_->readEvents();
    }
    if (!connection_) {
        return false;
    }
    bool shownAgain = std::exchange(readIn_, false);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        shownAgain = consumeEvent(event) || shownAgain;
    }
    return shownAgain;
}

bool WindowIconifier::consumeEvent(xcb_generic_event_t* event) {
    covers_->handle(*event);
    bool shownAgain = false;
    if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
        const auto* change = reinterpret_cast<xcb_property_notify_event_t*>(event);
        shownAgain = change->atom == wmState_ || change->atom == clientList_;
    } else if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
        shownAgain = reinterpret_cast<xcb_map_notify_event_t*>(event)->override_redirect != 0;
    }
    std::free(event);
    return shownAgain;
}

std::vector<xcb_window_t> WindowIconifier::managedWindows() const {
    const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, root_, clientList_, XCB_ATOM_WINDOW, 0, UINT32_MAX / 4),
        nullptr));
    return propertyValues<xcb_window_t>(reply.get());
}

std::optional<ProcessId> WindowIconifier::ownerOf(xcb_window_t window) const {
    xcb_res_query_client_ids_cookie_t idsCookie{};
    if (hasResourceExtension_) {
        const xcb_res_client_id_spec_t wanted{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
        idsCookie = xcb_res_query_client_ids(connection_, 1, &wanted);
    }
    const auto pidCookie =
        xcb_get_property(connection_, 0, window, wmPid_, XCB_ATOM_CARDINAL, 0, 1);
    const XcbReply<xcb_res_query_client_ids_reply_t> ids(
        hasResourceExtension_ ? xcb_res_query_client_ids_reply(connection_, idsCookie, nullptr)
                              : nullptr);
    const XcbReply<xcb_get_property_reply_t> pid(
        xcb_get_property_reply(connection_, pidCookie, nullptr));
    return windowOwner(ids.get(), pid.get());
}

WindowIdentity WindowIconifier::identityOf(xcb_window_t window,
                                           std::optional<ProcessId> owner) const {
    const auto request = [&](xcb_atom_t property) {
        return xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                                1024);
    };
    const auto gtkCookie = request(gtkApplicationId_);
    const auto kdeCookie = request(kdeDesktopFile_);
    const auto classCookie = request(XCB_ATOM_WM_CLASS);
    const auto reply = [&](xcb_get_property_cookie_t cookie) {
        return XcbReply<xcb_get_property_reply_t>(
            xcb_get_property_reply(connection_, cookie, nullptr));
    };
    const auto gtk = reply(gtkCookie);
    const auto kde = reply(kdeCookie);
    const auto wmClass = reply(classCookie);
    return windowIdentity(gtk.get(), kde.get(), wmClass.get(), owner);
}

bool WindowIconifier::isHidden(xcb_window_t window) const {
    const auto iconicCookie = xcb_get_property(connection_, 0, window, wmState_, wmState_, 0, 2);
    const auto stateCookie =
        xcb_get_property(connection_, 0, window, netWmState_, XCB_ATOM_ATOM, 0, 32);
    const XcbReply<xcb_get_property_reply_t> iconic(
        xcb_get_property_reply(connection_, iconicCookie, nullptr));
    const XcbReply<xcb_get_property_reply_t> state(
        xcb_get_property_reply(connection_, stateCookie, nullptr));
    const auto states = propertyValues<xcb_atom_t>(state.get());
    return isIconic(iconic.get()) ||
           std::find(states.begin(), states.end(), netWmStateHidden_) != states.end();
}

} // namespace velmora
