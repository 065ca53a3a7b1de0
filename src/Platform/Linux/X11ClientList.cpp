#include "Platform/Linux/X11ClientList.hpp"

#include "Platform/Linux/X11WindowManagerCalls.hpp"
#include "Platform/Linux/XcbProperty.hpp"

#include <algorithm>

namespace velmora {
namespace {

// Frames of window managers hold the client a few levels down; deeper is not a frame.
constexpr int frameSearchDepth = 3;

} // namespace

X11ClientList::X11ClientList(std::shared_ptr<XcbConnection> connection,
                             std::shared_ptr<Logging> logger)
    : connection_(std::move(connection)), logger_(std::move(logger)) {
    const auto* resource = xcb_get_extension_data(connection_->get(), &xcb_res_id);
    hasResourceExtension_ = resource && resource->present;
    connection_->selectRootEvents(XCB_EVENT_MASK_PROPERTY_CHANGE);
    events_ = connection_->observeEvents(
        [this](const xcb_generic_event_t& event) { handleEvent(event); });
    refresh();
}

const X11ClientList::Client* X11ClientList::client(xcb_window_t window) const {
    const auto found = index_.find(window);
    return found == index_.end() ? nullptr : &clients_[found->second];
}

std::optional<ProcessId> X11ClientList::ownerOf(xcb_window_t window) {
    if (const auto* managed = client(window)) {
        return managed->pid;
    }
    if (const auto known = owners_.find(window); known != owners_.end()) {
        return known->second;
    }
    const auto owner = searchOwner(window);
    owners_.emplace(window, owner);
    return owner;
}

std::optional<ProcessId> X11ClientList::creatorOf(xcb_window_t window) {
    xcb_connection_t* c = connection_->get();
    xcb_res_query_client_ids_cookie_t resource{};
    if (hasResourceExtension_) {
        const xcb_res_client_id_spec_t wanted{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
        resource = xcb_res_query_client_ids(c, 1, &wanted);
    }
    const auto pidCookie =
        xcb_get_property(c, 0, window, connection_->ewmh()->_NET_WM_PID, XCB_ATOM_CARDINAL, 0, 1);
    const auto ids = hasResourceExtension_
                         ? connection_->reply(xcb_res_query_client_ids_reply, resource)
                         : nullptr;
    return windowOwner(ids.get(), connection_->reply(xcb_get_property_reply, pidCookie).get());
}

void X11ClientList::refresh() {
    reload(false);
}

void X11ClientList::reload(bool changedAlready) {
    xcb_connection_t* c = connection_->get();
    const auto list = connection_->reply(xcb_get_property_reply,
                                         xcb_get_property(c, 0, connection_->root(),
                                                          connection_->ewmh()->_NET_CLIENT_LIST,
                                                          XCB_ATOM_WINDOW, 0, UINT32_MAX / 4));
    const auto windows = propertyValues<xcb_window_t>(list.get());

    std::vector<xcb_window_t> unknown;
    std::copy_if(windows.begin(), windows.end(), std::back_inserter(unknown),
                 [this](xcb_window_t w) { return !index_.contains(w); });
    auto fetched = fetchClients(unknown);

    std::vector<Client> updated;
    updated.reserve(windows.size());
    auto next = fetched.begin();
    for (const xcb_window_t window : windows) {
        if (const auto* known = client(window)) {
            updated.push_back(*known);
        } else if (auto fresh = std::move(*next++)) {
            updated.push_back(std::move(*fresh));
        }
    }
    const bool changed = changedAlready || updated.size() != clients_.size() ||
                         !std::equal(updated.begin(), updated.end(), clients_.begin(),
                                     [](const Client& a, const Client& b) {
                                         return a.window == b.window && a.pid == b.pid;
                                     });
    clients_ = std::move(updated);
    index_.clear();
    for (std::size_t i = 0; i < clients_.size(); ++i) {
        index_.emplace(clients_[i].window, i);
    }
    if (changed) {
        owners_.clear();
        changed_.emit();
    }
}

void X11ClientList::handleEvent(const xcb_generic_event_t& event) {
    const uint8_t type = event.response_type & 0x7f;
    if (type == XCB_DESTROY_NOTIFY) {
        // A window id comes back for the next client that connects: what was known of the
        // destroyed window must not stick to its successor.
        const auto window = reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window;
        const auto found = index_.find(window);
        if (found != index_.end()) {
            clients_.erase(clients_.begin() + static_cast<std::ptrdiff_t>(found->second));
            index_.clear();
            for (std::size_t i = 0; i < clients_.size(); ++i) {
                index_.emplace(clients_[i].window, i);
            }
            reload(true);
        }
        return;
    }
    if (type != XCB_PROPERTY_NOTIFY) {
        return;
    }
    const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
    if (notify.window == connection_->root() &&
        notify.atom == connection_->ewmh()->_NET_CLIENT_LIST) {
        refresh();
    }
}

std::vector<std::optional<X11ClientList::Client>>
X11ClientList::fetchClients(const std::vector<xcb_window_t>& windows) {
    xcb_connection_t* c = connection_->get();
    auto* ewmh = connection_->ewmh();
    const xcb_atom_t gtkId = connection_->atom("_GTK_APPLICATION_ID");
    const xcb_atom_t kdeFile = connection_->atom("_KDE_NET_WM_DESKTOP_FILE");

    // Every request first, then every reply: one round trip for all the new windows.
    struct Pending {
        xcb_res_query_client_ids_cookie_t resource{};
        xcb_get_property_cookie_t pid, gtk, kde, wmClass, type;
    };
    std::vector<Pending> pending;
    pending.reserve(windows.size());
    // Focus changes are for the keyboard grab, which must follow them at once.
    const uint32_t eventMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE;
    for (const xcb_window_t window : windows) {
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &eventMask);
        Pending p;
        if (hasResourceExtension_) {
            const xcb_res_client_id_spec_t wanted{window, XCB_RES_CLIENT_ID_MASK_LOCAL_CLIENT_PID};
            p.resource = xcb_res_query_client_ids(c, 1, &wanted);
        }
        p.pid = xcb_get_property(c, 0, window, ewmh->_NET_WM_PID, XCB_ATOM_CARDINAL, 0, 1);
        p.gtk = xcb_get_property(c, 0, window, gtkId, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        p.kde = xcb_get_property(c, 0, window, kdeFile, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        p.wmClass = xcb_get_property(c, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 1024);
        p.type = xcb_get_property(c, 0, window, ewmh->_NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM, 0, 64);
        pending.push_back(p);
    }

    std::vector<std::optional<Client>> fetched;
    fetched.reserve(windows.size());
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Pending& p = pending[i];
        const auto ids = hasResourceExtension_
                             ? connection_->reply(xcb_res_query_client_ids_reply, p.resource)
                             : nullptr;
        const auto pid = connection_->reply(xcb_get_property_reply, p.pid);
        const auto gtk = connection_->reply(xcb_get_property_reply, p.gtk);
        const auto kde = connection_->reply(xcb_get_property_reply, p.kde);
        const auto wmClass = connection_->reply(xcb_get_property_reply, p.wmClass);
        const auto type = connection_->reply(xcb_get_property_reply, p.type);
        // Destroyed while the manager still lists it: its id may soon name another window.
        if (!pid) {
            fetched.emplace_back();
            continue;
        }
        const auto owner = windowOwner(ids.get(), pid.get());
        const auto types = propertyValues<xcb_atom_t>(type.get());
        Client client{.window = windows[i],
                      .pid = owner,
                      .identity = windowIdentity(gtk.get(), kde.get(), wmClass.get(), owner),
                      .isNormal =
                          types.empty() || types.front() == ewmh->_NET_WM_WINDOW_TYPE_NORMAL};
        if (!client.pid) {
            logger_->warn("Window " + std::to_string(client.window) +
                          " names no process; it belongs to no application");
        }
        fetched.push_back(std::move(client));
    }
    return fetched;
}

std::optional<ProcessId> X11ClientList::searchOwner(xcb_window_t window) {
    xcb_connection_t* c = connection_->get();
    // Up: a window inside a client.
    for (xcb_window_t at = window; at != XCB_WINDOW_NONE && at != connection_->root();) {
        if (const auto* managed = client(at)) {
            return managed->pid;
        }
        const auto tree = connection_->reply(xcb_query_tree_reply, xcb_query_tree(c, at));
        at = tree ? tree->parent : xcb_window_t{XCB_WINDOW_NONE};
    }
    // Down: a frame around a client.
    std::vector<xcb_window_t> level{window};
    for (int depth = 0; depth < frameSearchDepth && !level.empty(); ++depth) {
        std::vector<xcb_query_tree_cookie_t> cookies;
        for (const xcb_window_t w : level) {
            cookies.push_back(xcb_query_tree(c, w));
        }
        std::vector<xcb_window_t> children;
        for (const auto cookie : cookies) {
            const auto tree = connection_->reply(xcb_query_tree_reply, cookie);
            if (!tree) {
                continue;
            }
            const auto* first = xcb_query_tree_children(tree.get());
            children.insert(children.end(), first,
                            first + xcb_query_tree_children_length(tree.get()));
        }
        for (const xcb_window_t child : children) {
            if (const auto* managed = client(child)) {
                return managed->pid;
            }
        }
        level = std::move(children);
    }
    return std::nullopt;
}

} // namespace velmora
