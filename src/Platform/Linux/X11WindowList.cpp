#include "Platform/Linux/X11WindowList.hpp"

#include "Platform/Linux/XcbProperty.hpp"

#include <algorithm>
#include <utility>

namespace velmora {
namespace {

constexpr int normalLayer = 0;
constexpr int aboveLayer = 3;
constexpr int dockLayer = 20;
constexpr int popupLayer = 24;
constexpr uint32_t allDesktops = 0xFFFFFFFF;
constexpr Seconds kRestackFollowing{0.1};

} // namespace

X11WindowList::X11WindowList(std::shared_ptr<XcbConnection> connection,
                             std::shared_ptr<X11ClientList> clients,
                             std::shared_ptr<const X11Screens> screens, IsCovered isCovered)
    : connection_(std::move(connection)), clients_(std::move(clients)),
      screens_(std::move(screens)), isCovered_(std::move(isCovered)) {
    connection_->selectRootEvents(XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY |
                                  XCB_EVENT_MASK_PROPERTY_CHANGE);
    events_ = connection_->observeEvents([this](const xcb_generic_event_t& event) {
        if (snapshot_) {
            snapshot_->current = false;
        }
        announce(announcementOf(event));
    });
    // Windows are listed with their owners: a manager that lists a new window in its stacking
    // before its clients leaves it ownerless until the client list follows.
    clientsChanged_ = clients_->observeChanges([this] {
        if (snapshot_) {
            snapshot_->current = false;
        }
        announce(Announce::now);
    });
}

void X11WindowList::announce(Announce when) {
    if (when == Announce::now) {
        changed_.emit();
    } else if (when == Announce::soon && !std::exchange(announcing_, true)) {
        connection_->runLoop().after(kRestackFollowing, lifetime_.guard([this] {
            announcing_ = false;
            changed_.emit();
        }));
    }
}

bool X11WindowList::isOwn(xcb_window_t window) const {
    const auto known = creators_.find(window);
    return known != creators_.end() && known->second == ownPid_;
}

bool X11WindowList::onlyRestacked(const xcb_configure_notify_event_t& event) {
    if (event.event != connection_->root()) {
        // The same change of a top-level window, heard by whoever watches that window too, is
        // judged on the root's copy.
        return geometries_.contains(event.window);
    }
    const Geometry now{event.x, event.y, event.width, event.height, event.border_width};
    const auto [known, isNew] = geometries_.try_emplace(event.window, now);
    return !isNew && std::exchange(known->second, now) == now;
}

X11WindowList::Announce X11WindowList::announcementOf(const xcb_generic_event_t& event) {
    // What a client sends changes nothing on screen.
    switch (event.response_type) {
    case XCB_CONFIGURE_NOTIFY: {
        const auto& configure = reinterpret_cast<const xcb_configure_notify_event_t&>(event);
        const bool restacked = onlyRestacked(configure);
        // Velmora's own covers and cards moving call for no other look.
        if (isOwn(configure.window)) {
            return Announce::no;
        }
        if (!restacked) {
            return Announce::now;
        }
        return isCovered_(configure.window) ? Announce::soon : Announce::no;
    }
    case XCB_MAP_NOTIFY:
    case XCB_UNMAP_NOTIFY: {
        const xcb_window_t window =
            event.response_type == XCB_MAP_NOTIFY
                ? reinterpret_cast<const xcb_map_notify_event_t&>(event).window
                : reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window;
        if (isOwn(window)) {
            return Announce::no;
        }
        managedMayHaveChanged_ = true;
        return Announce::now;
    }
    case XCB_CREATE_NOTIFY: {
        const auto& create = reinterpret_cast<const xcb_create_notify_event_t&>(event);
        if (create.parent == connection_->root()) {
            geometries_[create.window] = {create.x, create.y, create.width, create.height,
                                          create.border_width};
        }
        managedMayHaveChanged_ = true;
        return Announce::no;
    }
    case XCB_REPARENT_NOTIFY:
        managedMayHaveChanged_ = true;
        return Announce::no;
    case XCB_DESTROY_NOTIFY:
        geometries_.erase(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
        managedMayHaveChanged_ = true;
        return Announce::no;
    case XCB_PROPERTY_NOTIFY: {
        const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
        if (notify.window != connection_->root()) {
            return Announce::no;
        }
        // The manager restacks its list on every raise; only a list with other windows in it
        // tells of something new.
        if (notify.atom == connection_->ewmh()->_NET_CLIENT_LIST_STACKING) {
            return std::exchange(managedMayHaveChanged_, false) ? Announce::now : Announce::no;
        }
        return notify.atom == connection_->ewmh()->_NET_CURRENT_DESKTOP ? Announce::now
                                                                        : Announce::no;
    }
    default:
        return Announce::no;
    }
}

Subscription X11WindowList::observeChanges(std::function<void()> onChange) {
    return changed_.connect(std::move(onChange));
}

std::vector<WindowListEntry>
X11WindowList::unmanagedWindows(const std::vector<UnmanagedPending>& pending,
                                const PlacementCoordinates& coordinates) const {
    std::unordered_map<xcb_window_t, std::optional<ProcessId>> seen;
    std::vector<WindowListEntry> entries;
    for (const UnmanagedPending& p : pending) {
        const auto attributes = connection_->reply(xcb_get_window_attributes_reply, p.attributes);
        const auto geometry = connection_->reply(xcb_get_geometry_reply, p.geometry);
        if (!attributes || !geometry || !attributes->override_redirect ||
            attributes->map_state != XCB_MAP_STATE_VIEWABLE ||
            attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY) {
            continue;
        }
        const auto known = creators_.find(p.window);
        const auto pid = known != creators_.end() ? known->second : clients_->creatorOf(p.window);
        seen.emplace(p.window, pid);
        if (!pid || *pid == ownPid_) {
            continue;
        }
        const Rect frame = coordinates.topLeftFromRoot(
            {static_cast<double>(geometry->x), static_cast<double>(geometry->y),
             static_cast<double>(geometry->width), static_cast<double>(geometry->height)});
        entries.push_back({.ownerPid = pid,
                           .layer = popupLayer,
                           .x = frame.x,
                           .y = frame.y,
                           .width = frame.width,
                           .height = frame.height,
                           .number = p.window});
    }
    // Only windows still shown are remembered, so a reused id is asked about anew.
    creators_ = std::move(seen);
    return entries;
}

std::optional<std::vector<WindowListEntry>> X11WindowList::onScreenWindows() const {
    // Showing a card looks at the list several times in one go: the server is asked once per
    // turn of the loop, and again after any event.
    if (snapshot_ && snapshot_->current) {
        return snapshot_->windows;
    }
    snapshot_ = std::make_shared<Snapshot>(Snapshot{true, queryOnScreenWindows()});
    connection_->runLoop().post([weak = std::weak_ptr(snapshot_)] {
        if (const auto snapshot = weak.lock()) {
            snapshot->current = false;
        }
    });
    return snapshot_->windows;
}

std::vector<xcb_window_t>
X11WindowList::topLevelAncestors(const std::vector<xcb_window_t>& windows) const {
    // A window manager's frame may nest the client a few levels deep: each level is asked
    // about for every window at once.
    xcb_connection_t* c = connection_->get();
    std::vector<xcb_window_t> current = windows;
    std::vector<bool> done(windows.size(), false);
    for (int level = 0; level < 8 && std::find(done.begin(), done.end(), false) != done.end();
         ++level) {
        std::vector<xcb_query_tree_cookie_t> cookies(windows.size());
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (!done[i]) {
                cookies[i] = xcb_query_tree(c, current[i]);
            }
        }
        for (std::size_t i = 0; i < windows.size(); ++i) {
            if (done[i]) {
                continue;
            }
            const auto tree = connection_->reply(xcb_query_tree_reply, cookies[i]);
            if (!tree || tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) {
                done[i] = true;
            } else {
                current[i] = tree->parent;
            }
        }
    }
    return current;
}

std::optional<std::vector<WindowListEntry>> X11WindowList::queryOnScreenWindows() const {
    xcb_connection_t* c = connection_->get();
    auto* ewmh = connection_->ewmh();
    const xcb_window_t root = connection_->root();
    const auto stackingCookie = xcb_get_property(c, 0, root, ewmh->_NET_CLIENT_LIST_STACKING,
                                                 XCB_ATOM_WINDOW, 0, UINT32_MAX / 4);
    const auto desktopCookie =
        xcb_get_property(c, 0, root, ewmh->_NET_CURRENT_DESKTOP, XCB_ATOM_CARDINAL, 0, 1);
    const auto treeCookie = xcb_query_tree(c, root);
    const auto stacking = connection_->reply(xcb_get_property_reply, stackingCookie);
    const auto desktop = connection_->reply(xcb_get_property_reply, desktopCookie);
    const auto tree = connection_->reply(xcb_query_tree_reply, treeCookie);
    if (!stacking) {
        return std::nullopt;
    }
    // Unmanaged windows are asked about together with the managed ones.
    std::vector<UnmanagedPending> unmanaged;
    if (tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = xcb_query_tree_children_length(tree.get()) - 1; i >= 0; --i) {
            unmanaged.push_back({children[i], xcb_get_window_attributes(c, children[i]),
                                 xcb_get_geometry(c, children[i])});
        }
    }
    auto windows = propertyValues<xcb_window_t>(stacking.get());
    std::reverse(windows.begin(), windows.end());
    const auto currentDesktop = propertyValues<uint32_t>(desktop.get());

    struct Pending {
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_geometry_cookie_t geometry;
        xcb_translate_coordinates_cookie_t origin;
        xcb_get_property_cookie_t extents, desktop, state, type;
    };
    std::vector<Pending> pending;
    pending.reserve(windows.size());
    for (const xcb_window_t w : windows) {
        pending.push_back(
            {xcb_get_window_attributes(c, w), xcb_get_geometry(c, w),
             xcb_translate_coordinates(c, w, root, 0, 0),
             xcb_get_property(c, 0, w, ewmh->_NET_FRAME_EXTENTS, XCB_ATOM_CARDINAL, 0, 4),
             xcb_get_property(c, 0, w, ewmh->_NET_WM_DESKTOP, XCB_ATOM_CARDINAL, 0, 1),
             xcb_get_property(c, 0, w, ewmh->_NET_WM_STATE, XCB_ATOM_ATOM, 0, 64),
             xcb_get_property(c, 0, w, ewmh->_NET_WM_WINDOW_TYPE, XCB_ATOM_ATOM, 0, 64)});
    }

    const PlacementCoordinates coordinates = screens_->coordinates();
    std::vector<WindowListEntry> entries = unmanagedWindows(unmanaged, coordinates);
    const std::vector<xcb_window_t> frames = topLevelAncestors(windows);
    // i3 makes its frames override-redirect: they are the managed windows, not popups, and
    // their bounds are the frames' (i3 announces no frame extents).
    std::unordered_map<WindowNumber, WindowListEntry> overrideRedirectFrames;
    std::erase_if(entries, [&](const WindowListEntry& entry) {
        const bool isFrame = std::find(frames.begin(), frames.end(), entry.number) != frames.end();
        if (isFrame) {
            overrideRedirectFrames.emplace(*entry.number, entry);
        }
        return isFrame;
    });
    popups_.clear();
    for (const WindowListEntry& popup : entries) {
        popups_.insert(static_cast<xcb_window_t>(*popup.number));
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Pending& p = pending[i];
        const auto attributes = connection_->reply(xcb_get_window_attributes_reply, p.attributes);
        const auto geometry = connection_->reply(xcb_get_geometry_reply, p.geometry);
        const auto origin = connection_->reply(xcb_translate_coordinates_reply, p.origin);
        const auto extentsReply = connection_->reply(xcb_get_property_reply, p.extents);
        const auto desktopReply = connection_->reply(xcb_get_property_reply, p.desktop);
        const auto stateReply = connection_->reply(xcb_get_property_reply, p.state);
        const auto typeReply = connection_->reply(xcb_get_property_reply, p.type);
        if (!attributes || !geometry || !origin ||
            attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
            continue;
        }
        const auto states = propertyValues<xcb_atom_t>(stateReply.get());
        const auto has = [&](xcb_atom_t atom) {
            return std::find(states.begin(), states.end(), atom) != states.end();
        };
        const auto onDesktop = propertyValues<uint32_t>(desktopReply.get());
        if (has(ewmh->_NET_WM_STATE_HIDDEN) ||
            (!onDesktop.empty() && !currentDesktop.empty() && onDesktop.front() != allDesktops &&
             onDesktop.front() != currentDesktop.front())) {
            continue;
        }
        const auto types = propertyValues<xcb_atom_t>(typeReply.get());
        const xcb_atom_t type = types.empty() ? ewmh->_NET_WM_WINDOW_TYPE_NORMAL : types.front();
        if (type == ewmh->_NET_WM_WINDOW_TYPE_DESKTOP) {
            continue;
        }
        int layer = has(ewmh->_NET_WM_STATE_ABOVE) ? aboveLayer : normalLayer;
        if (type == ewmh->_NET_WM_WINDOW_TYPE_DOCK) {
            layer = dockLayer;
        } else if (type == ewmh->_NET_WM_WINDOW_TYPE_MENU ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_DROPDOWN_MENU ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_POPUP_MENU ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_TOOLTIP ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_NOTIFICATION ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_COMBO ||
                   type == ewmh->_NET_WM_WINDOW_TYPE_DND) {
            layer = popupLayer;
        }

        // The frame: the client's area widened by the decorations the manager reports.
        auto extents = propertyValues<uint32_t>(extentsReply.get());
        extents.resize(4, 0);
        const double left = extents[0], right = extents[1], top = extents[2], bottom = extents[3];
        const Rect frame = coordinates.topLeftFromRoot({origin->dst_x - left, origin->dst_y - top,
                                                        geometry->width + left + right,
                                                        geometry->height + top + bottom});

        WindowListEntry entry;
        if (const auto* client = clients_->client(windows[i])) {
            entry.ownerPid = client->pid;
        }
        entry.layer = layer;
        entry.x = frame.x;
        entry.y = frame.y;
        entry.width = frame.width;
        entry.height = frame.height;
        entry.number = frames[i];
        if (const auto known = overrideRedirectFrames.find(frames[i]);
            known != overrideRedirectFrames.end()) {
            entry.x = known->second.x;
            entry.y = known->second.y;
            entry.width = known->second.width;
            entry.height = known->second.height;
        }
        entries.push_back(entry);
    }
    return entries;
}

} // namespace velmora
