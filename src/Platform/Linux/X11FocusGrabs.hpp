#pragma once

#include "Platform/Linux/XcbConnection.hpp"
#include "Support/Lifetime.hpp"

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace velmora {

/// Passive XInput 2 focus-in grabs on covered windows: the server hands the keyboard to
/// Velmora in the same step that moves the focus into one, so no key typed at that instant
/// reaches it. Window managers ignore a focus that came with a grab, so the grab then
/// becomes an ordinary one and the focus is given again under it, which they do see; the
/// keyboard is let go once the focus leaves the covered windows (a click elsewhere, the
/// password prompt). The pointer stays free.
///
///     auto grabs = std::make_shared<X11FocusGrabs>(connection);
///     grabs->hold(frame);            // the frame and the windows inside it, after this turn
///     bool ours = grabs->holds(focusedWindow);
///     grabs->drop(frame);            // also lets go of the keyboard taken through it
class X11FocusGrabs {
public:
    explicit X11FocusGrabs(std::shared_ptr<XcbConnection> connection);
    X11FocusGrabs(const X11FocusGrabs&) = delete;
    X11FocusGrabs& operator=(const X11FocusGrabs&) = delete;

    void hold(xcb_window_t frame);
    void drop(xcb_window_t frame);
    [[nodiscard]] bool holds(xcb_window_t window) const;
    /// Gives the focus to `window`, one of Velmora's own (the password prompt), then lets go
    /// of a keyboard taken through a focus-in grab: sent together, so that no key typed in
    /// between is lost or reaches a covered window.
    void giveFocusTo(xcb_window_t window);

private:
    struct Held {
        int users = 0;
        std::vector<xcb_window_t> windows;
    };

    /// Grabs the windows in every frame held since the last time.
    void grabPending();
    /// The frames and the windows inside each, looked at level by level for all at once.
    [[nodiscard]] std::vector<std::vector<xcb_window_t>>
    windowsIn(const std::vector<xcb_window_t>& frames) const;
    void grab(xcb_window_t window, bool on);
    void handleEvent(const xcb_generic_event_t& event);
    void holdKeyboard(xcb_window_t focused);
    void releaseKeyboardUnlessHeld();

    std::shared_ptr<XcbConnection> connection_;
    bool supported_ = false;
    std::vector<uint16_t> keyboards_;
    std::unordered_map<xcb_window_t, Held> held_;
    /// Held in this turn of the loop, not yet grabbed.
    std::vector<xcb_window_t> pending_;
    bool holdingKeyboard_ = false;
    bool checkPosted_ = false;
    LifetimeToken lifetime_;
    Subscription events_;
};

} // namespace velmora
