#pragma once

#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Platform/WindowList.hpp"
#include "Support/Signal.hpp"

#include <memory>
#include <unistd.h>
#include <unordered_map>

namespace velmora {

/// The windows that can be seen now, top first: other programs' override-redirect windows
/// (menus, tooltips, popups; above everything, on the popup layer), then the managed ones
/// from `_NET_CLIENT_LIST_STACKING`. Each with its owner, a layer as the engine counts them
/// (0 for normal windows, higher for windows kept above) and the frame's bounds relative to
/// the primary monitor's top-left corner.
///
///     X11WindowList windows(connection, clients, screens);
///     if (auto list = windows.onScreenWindows()) { for (const auto& w : *list) { ... } }
class X11WindowList final : public WindowListProviding {
public:
    X11WindowList(std::shared_ptr<XcbConnection> connection, std::shared_ptr<X11ClientList> clients,
                  std::shared_ptr<const X11Screens> screens);

    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;
    /// Announces windows that map, unmap, move, resize or restack, and desktop switches;
    /// Velmora's own windows are left out once seen, so that moving a cover does not call for
    /// another look.
    [[nodiscard]] Subscription observeChanges(std::function<void()> onChange) override;
    [[nodiscard]] bool announcesChanges() const override { return true; }

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

    [[nodiscard]] bool announcesChange(const xcb_generic_event_t& event);
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
    Signal<> changed_;
    Subscription events_;
    mutable std::shared_ptr<Snapshot> snapshot_;
    ProcessId ownPid_ = getpid();
    /// The creators of the override-redirect windows shown at the last look.
    mutable std::unordered_map<xcb_window_t, std::optional<ProcessId>> creators_;
};

} // namespace velmora
