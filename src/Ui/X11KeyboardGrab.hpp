#pragma once

#include "Platform/Linux/X11FocusGrabs.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Support/Lifetime.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Subscription.hpp"

#include <functional>
#include <memory>
#include <vector>

class QWindow;

namespace velmora {

/// Holds the keyboard while the window with the input focus lies under one of Velmora's
/// overlays, so that no key reaches a covered application. The grab is made on Qt's own
/// connection with owner events, so Velmora's windows (the password prompt) still get the
/// keys typed into them; keys for any other window go to the root, where Qt drops them.
///
///     X11KeyboardGrab grab(connection, runLoop, [&] { return overlays.shownWindows(); },
///                          focusGrabs);
///
/// Looked at again when the focus or the active window changes, when an overlay maps, moves
/// or goes, and when another client lets the keyboard go; retried every few hundredths of a
/// second while another client holds the keyboard, unless the focus lies in a window whose
/// focus-in grab holds it already. Released as soon as nothing covered has the focus.
class X11KeyboardGrab {
public:
    using ShownOverlays = std::function<std::vector<QWindow*>()>;

    X11KeyboardGrab(std::shared_ptr<XcbConnection> connection, std::shared_ptr<RunLoop> runLoop,
                    ShownOverlays shownOverlays, std::shared_ptr<const X11FocusGrabs> focusGrabs);
    ~X11KeyboardGrab();
    X11KeyboardGrab(const X11KeyboardGrab&) = delete;
    X11KeyboardGrab& operator=(const X11KeyboardGrab&) = delete;

    [[nodiscard]] bool isHeld() const { return held_; }

private:
    void handleEvent(const xcb_generic_event_t& event);
    void scheduleCheck();
    void check();
    [[nodiscard]] bool wanted(const std::vector<QWindow*>& overlays);
    void setTimer(Seconds interval);
    bool take();
    void release();

    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<RunLoop> runLoop_;
    ShownOverlays shownOverlays_;
    std::shared_ptr<const X11FocusGrabs> focusGrabs_;
    xcb_window_t focused_ = XCB_WINDOW_NONE;
    bool held_ = false;
    bool checkScheduled_ = false;
    Seconds timerInterval_{0};
    TimerHandle timer_;
    LifetimeToken lifetime_;
    Subscription events_;
};

} // namespace velmora
