#pragma once

#include "GuardCovers.hpp"
#include "Platform/Linux/ApplicationIdentities.hpp"
#include "Support/Logging.hpp"
#include "Support/ProcessId.hpp"
#include "SwayHider.hpp"

#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace velmora {

/// Iconifies every window that the window manager manages for a set of processes or
/// protected applications, and closes their menus, over a connection of its own, and hears
/// when one of them is shown again or a new one appears. Where the window manager refuses,
/// it covers them.
///
///     auto iconifier = WindowIconifier::connect(log);
///     iconifier->iconify({4211}, {{"org.gnome.Evolution", {"Evolution"}, {}}});
///     if (iconifier->readEvents()) { iconifier->iconify({4211}, applications); }
///     iconifier->coverUnhidden();   // a moment later
///     iconifier->uncover();         // Velmora covers them again
class WindowIconifier {
public:
    /// Nothing when the X server named by DISPLAY, or sway, cannot be reached. On sway without
    /// X, windows are hidden in sway's scratchpad; on another Wayland session without X, an
    /// iconifier that never has anything to do.
    static std::unique_ptr<WindowIconifier> connect(Logging& log);
    ~WindowIconifier();
    WindowIconifier(const WindowIconifier&) = delete;
    WindowIconifier& operator=(const WindowIconifier&) = delete;

    /// For poll: readable when events arrive.
    [[nodiscard]] int fileDescriptor() const;
    /// The connection broke: the session is over.
    [[nodiscard]] bool hasFailed() const;

    /// Asks the window manager to iconify each managed window of `pids`, or that belongs to
    /// one of `applications`, that is not iconic yet, and unmaps their override-redirect
    /// windows (menus, tooltips); answers how many it asked to iconify.
    int iconify(const std::vector<ProcessId>& pids,
                const std::vector<ApplicationIdentities>& applications);
    /// Covers the windows asked for since the last call that are still neither iconic nor
    /// hidden; answers how many it newly covered.
    int coverUnhidden();
    void uncover();
    /// Takes the waiting events; true when one may have shown a window again (a window's
    /// ICCCM state or the list of managed windows changed, or a menu opened).
    bool readEvents();
    /// Such an event came in while iconify() waited for answers: it is off the socket, so
    /// poll cannot tell of it.
    [[nodiscard]] bool hasEventsReadIn() const { return readIn_; }

private:
    WindowIconifier(xcb_connection_t* connection, xcb_window_t root);
    [[nodiscard]] std::vector<xcb_window_t> managedWindows() const;
    void closePopups(const std::vector<ProcessId>& pids,
                     const std::vector<ApplicationIdentities>& applications);
    /// Owned by one of `pids`, or named as one of `applications`.
    [[nodiscard]] bool isProtected(xcb_window_t window, const std::vector<ProcessId>& pids,
                                   const std::vector<ApplicationIdentities>& applications) const;
    [[nodiscard]] std::optional<ProcessId> ownerOf(xcb_window_t window) const;
    /// The same properties Velmora reads, and the program its owner runs.
    [[nodiscard]] WindowIdentity identityOf(xcb_window_t window,
                                            std::optional<ProcessId> owner) const;
    [[nodiscard]] bool isHidden(xcb_window_t window) const;
    /// Frees `event`; true when it may have shown a window again.
    [[nodiscard]] bool consumeEvent(xcb_generic_event_t* event);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    bool hasResourceExtension_ = false;
    bool readIn_ = false;
    xcb_atom_t clientList_ = XCB_ATOM_NONE;
    xcb_atom_t wmPid_ = XCB_ATOM_NONE;
    xcb_atom_t wmState_ = XCB_ATOM_NONE;
    xcb_atom_t wmChangeState_ = XCB_ATOM_NONE;
    xcb_atom_t netWmState_ = XCB_ATOM_NONE;
    xcb_atom_t netWmStateHidden_ = XCB_ATOM_NONE;
    xcb_atom_t gtkApplicationId_ = XCB_ATOM_NONE;
    xcb_atom_t kdeDesktopFile_ = XCB_ATOM_NONE;
    std::unique_ptr<GuardCovers> covers_;
    std::unique_ptr<SwayHider> sway_;
    std::vector<xcb_window_t> requested_;
};

} // namespace velmora
