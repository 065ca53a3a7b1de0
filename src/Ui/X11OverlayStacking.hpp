#pragma once

#include "Platform/Linux/XcbConnection.hpp"
#include "Support/Lifetime.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Subscription.hpp"

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QWindow;

namespace velmora {

/// Keeps Velmora's override-redirect windows (the overlays, and the password prompt above
/// them) on top while an overlay is shown: when another window maps, or is raised or
/// circulated onto one of them, they are raised again, the overlays in the order they had
/// and Velmora's other windows above them; so too when a cover is ordered in while the
/// prompt is open. A shown overlay that another client lowers is raised again, one it unmaps
/// is mapped again, and one it destroys or takes into a window of its own is made anew.
///
///     X11OverlayStacking stacking(connection, runLoop, [&] { return overlays.shownWindows(); });
///
/// Reads the root window's structure events from Velmora's connection; the raise runs after
/// the current work, so that the reaction to an activation is not held up.
class X11OverlayStacking {
public:
    using ShownOverlays = std::function<std::vector<QWindow*>()>;

    X11OverlayStacking(std::shared_ptr<XcbConnection> connection, std::shared_ptr<RunLoop> runLoop,
                       ShownOverlays shownOverlays);
    X11OverlayStacking(const X11OverlayStacking&) = delete;
    X11OverlayStacking& operator=(const X11OverlayStacking&) = delete;

private:
    void handleEvent(const xcb_generic_event_t& event);
    void scheduleRaise();
    void raise();
    /// Shows anew an overlay whose native window another client destroyed or reparented.
    void remakeOverlay(xcb_window_t window);
    [[nodiscard]] bool isOverlay(xcb_window_t window) const;
    /// Velmora's other shown override-redirect windows: the prompt, a tray menu.
    [[nodiscard]] std::vector<xcb_window_t> otherWindows() const;

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<RunLoop> runLoop_;
    ShownOverlays shownOverlays_;
    bool raiseScheduled_ = false;
    std::chrono::steady_clock::time_point lastRaise_;
    LifetimeToken lifetime_;
    Subscription events_;
};

} // namespace velmora
