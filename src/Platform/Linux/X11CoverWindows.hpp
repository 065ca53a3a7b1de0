#pragma once

#include "Platform/CoverWindows.hpp"
#include "Platform/Linux/X11FocusGrabs.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/XcbConnection.hpp"

#include <functional>
#include <memory>
#include <unordered_map>

namespace velmora {

/// Covers as bare override-redirect X windows: the server fills them black, so they are
/// opaque from the moment they map and cost no drawing; they select every pointer event, so
/// clicks, the wheel and drags over them end there. Each is restacked as the sibling directly
/// above the covered window's frame, and holds a focus-in grab on that window while shown.
/// When that frame is restacked, or another window is put between it and its cover, the
/// cover is put back above it at once, without a look at the window list. A popup is closed
/// as it is covered: a menu holds the keyboard and the pointer for itself, wherever its cover
/// lies, and lets go of them only when it is gone from the screen. A cover that another
/// client unmaps, destroys, moves, lowers or reparents is put back at once.
///
///     X11CoverWindows covers(connection, screens, focusGrabs, [&](xcb_window_t window) {
///         return windows.isPopup(window); });
///     auto cover = covers.makeCover();
///     cover->show({frameWindow, placedFrame, 0});
class X11CoverWindows final : public CoverWindowFactory {
public:
    /// Whether a covered window is a popup, which is closed as it is covered.
    using IsPopup = std::function<bool(xcb_window_t)>;

    X11CoverWindows(std::shared_ptr<XcbConnection> connection,
                    std::shared_ptr<const X11Screens> screens,
                    std::shared_ptr<X11FocusGrabs> focusGrabs, IsPopup isPopup);

    [[nodiscard]] std::unique_ptr<CoverWindow> makeCover() override;
    /// Whether one of these covers is shown over `frame`.
    [[nodiscard]] bool covers(xcb_window_t frame) const;

    /// Each covered frame's cover.
    using CoverOfFrame = std::unordered_map<xcb_window_t, xcb_window_t>;

private:
    void keepAboveFrame(const xcb_configure_notify_event_t& event);

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<const X11Screens> screens_;
    std::shared_ptr<X11FocusGrabs> focusGrabs_;
    std::shared_ptr<const IsPopup> isPopup_;
    std::shared_ptr<CoverOfFrame> coverOf_ = std::make_shared<CoverOfFrame>();
    Subscription events_;
};

} // namespace velmora
