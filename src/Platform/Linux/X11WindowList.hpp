#pragma once

#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Platform/WindowList.hpp"
#include "Support/Lifetime.hpp"
#include "Support/Signal.hpp"

#include <functional>
#include <memory>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace velmora {

/// The windows that can be seen now, top first: other programs' override-redirect windows
/// (menus, tooltips, popups; above everything, on the popup layer), then the managed ones
/// from `_NET_CLIENT_LIST_STACKING`. Each with its owner, a layer as the engine counts them
/// (0 for normal windows, higher for windows kept above) and the frame's bounds relative to
/// the primary monitor's top-left corner.
///
///     X11WindowList windows(connection, clients, screens, [&](xcb_window_t frame) {
///         return covers.covers(frame); });
///     if (auto list = windows.onScreenWindows()) { for (const auto& w : *list) { ... } }
class X11WindowList final : public WindowListProviding {
public:
    /// Whether a top-level window lies under one of Velmora's covers.
    using IsCovered = std::function<bool(xcb_window_t)>;

    X11WindowList(std::shared_ptr<XcbConnection> connection, std::shared_ptr<X11ClientList> clients,
                  std::shared_ptr<const X11Screens> screens, IsCovered isCovered);

    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;
    /// Announces windows that map, unmap, move or resize, new and closed windows, desktop
    /// switches, and the restacking of covered windows. Velmora's own windows are left out
    /// once seen, so that moving a cover does not call for another look; so are other
    /// windows merely restacked, which changes nothing that is covered. Covers follow their
    /// windows' restacking by themselves, so those are announced at most once in 0.1 s: a
    /// window manager that restacks everything on each raise costs one look, not one each.
    [[nodiscard]] Subscription observeChanges(std::function<void()> onChange) override;
    [[nodiscard]] bool announcesChanges() const override { return true; }
    /// Whether `window` is another program's override-redirect window (a menu, a tooltip) as
    /// of the last look.
    [[nodiscard]] bool isPopup(xcb_window_t window) const { return popups_.contains(window); }

private:
    struct UnmanagedPending {
        xcb_window_t window;
        xcb_get_window_attributes_cookie_t attributes;
        xcb_get_geometry_cookie_t geometry;
    };

    struct Snapshot {
        bool current;
        std::optional<std::vector<WindowListEntry>> windows;
    };
    struct Geometry {
        int16_t x, y;
        uint16_t width, height, border;
        friend bool operator==(const Geometry&, const Geometry&) = default;
    };

    enum class Announce { no, now, soon };
    [[nodiscard]] Announce announcementOf(const xcb_generic_event_t& event);
    void announce(Announce when);
    [[nodiscard]] bool isOwn(xcb_window_t window) const;
    /// Whether a top-level window only changed its place in the stack, or the change is judged
    /// elsewhere; remembers its geometry.
    [[nodiscard]] bool onlyRestacked(const xcb_configure_notify_event_t& event);
    [[nodiscard]] std::optional<std::vector<WindowListEntry>> queryOnScreenWindows() const;
    /// For each window, its ancestor that is a child of the root: the window manager's frame,
    /// or the window itself where it is not framed.
    [[nodiscard]] std::vector<xcb_window_t>
    topLevelAncestors(const std::vector<xcb_window_t>& windows) const;
    std::vector<WindowListEntry> unmanagedWindows(const std::vector<UnmanagedPending>& pending,
                                                  const PlacementCoordinates& coordinates) const;

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<X11ClientList> clients_;
    std::shared_ptr<const X11Screens> screens_;
    IsCovered isCovered_;
    Signal<> changed_;
    Subscription events_;
    Subscription clientsChanged_;
    mutable std::shared_ptr<Snapshot> snapshot_;
    ProcessId ownPid_ = getpid();
    /// The creators of the override-redirect windows shown at the last look.
    mutable std::unordered_map<xcb_window_t, std::optional<ProcessId>> creators_;
    /// Those of them that are no window manager's frames.
    mutable std::unordered_set<xcb_window_t> popups_;
    /// Top-level windows as the server last announced them; only its announcements count, so
    /// that none is compared with a look that raced it.
    std::unordered_map<xcb_window_t, Geometry> geometries_;
    /// Whether windows came or went since the window manager last restacked its list.
    bool managedMayHaveChanged_ = true;
    bool announcing_ = false;
    LifetimeToken lifetime_;
};

} // namespace velmora
