#pragma once

#include "harness/ScreenRect.hpp"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>
#include <xcb/xcb.h>

namespace velmora::bench {

/// Asks the window manager to activate a window and times how soon a cover is on screen over
/// it, through a connection of its own that hears every top-level window being mapped.
///
///     CoverProbe probe(":7", velmoraPid);
///     auto took = probe.activateAndTime(window, frame, {showsCover, showsCard}, 2s);
class CoverProbe {
public:
    using Milliseconds = std::chrono::duration<double, std::milli>;

    /// Covers are override-redirect windows of the process `coverOwner`. Throws
    /// std::runtime_error when the server cannot be reached.
    CoverProbe(const std::string& display, int coverOwner);
    ~CoverProbe();
    CoverProbe(const CoverProbe&) = delete;
    CoverProbe& operator=(const CoverProbe&) = delete;

    /// Sends _NET_ACTIVE_WINDOW for `window` as a pager does. Once a cover that holds `frame`
    /// is mapped, looks at each of `stages` in turn until it holds, and answers the time from
    /// the request to each; absent when the last one does not hold within `timeout`.
    std::optional<std::vector<Milliseconds>>
    activateAndTime(xcb_window_t window, const e2e::ScreenRect& frame,
                    const std::vector<std::function<bool()>>& stages,
                    std::chrono::milliseconds timeout);
    /// Sends _NET_ACTIVE_WINDOW for `window` as a pager does.
    void activate(xcb_window_t window);
    /// Sends _NET_RESTACK_WINDOW for `window` as a pager does: to the top, or the bottom.
    void restack(xcb_window_t window, bool toTop);
    /// Reads what the server announced since the last look, and answers how many of it were
    /// managed windows configured (restacked, mostly): one pager request may restack many.
    int takeManagedConfigures();
    /// A top-level window (a frame) and where it lies.
    struct TopLevel {
        xcb_window_t window;
        e2e::ScreenRect bounds;
    };
    /// Makes `request`, then answers the time until each of `topLevels` is either unmapped
    /// or lies under a mapped cover; absent when that does not happen within `timeout`.
    std::optional<Milliseconds> requestAndTimeCovering(const std::function<void()>& request,
                                                       const std::vector<TopLevel>& topLevels,
                                                       std::chrono::milliseconds timeout);
    /// In the last activateAndTime(), the time from the request until the window manager
    /// named the window active (the root's _NET_ACTIVE_WINDOW), if it did.
    [[nodiscard]] std::optional<Milliseconds> activationTime() const { return activation_; }
    /// The root's _NET_ACTIVE_WINDOW.
    [[nodiscard]] xcb_window_t activeWindow();

private:
    using Clock = std::chrono::steady_clock;

    /// What is known of an override-redirect window once seen; kept up to date from its
    /// ConfigureNotify events, so that a cover mapped again costs no round trip.
    struct KnownWindow {
        e2e::ScreenRect bounds;
        bool ownedByCoverOwner = false;
    };

    void discardEvents();
    /// An EWMH request about `window` from a pager, with the two words after the source.
    void sendAsPager(xcb_window_t window, xcb_atom_t request, uint32_t first, uint32_t second);
    /// The override-redirect children of the root that are mapped now.
    [[nodiscard]] std::vector<xcb_window_t> mappedOverrideRedirect();
    /// Waits for the next event until `deadline`; false when none came.
    bool waitForEvent(Clock::time_point deadline);
    void noteMove(const xcb_generic_event_t& event);
    [[nodiscard]] KnownWindow describe(xcb_window_t window);
    /// A round trip the first time a window is seen, none after.
    [[nodiscard]] bool isCoverOver(xcb_window_t window, const e2e::ScreenRect& frame);

    xcb_connection_t* connection_;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t activeWindowAtom_ = XCB_ATOM_NONE;
    xcb_atom_t restackAtom_ = XCB_ATOM_NONE;
    xcb_atom_t pidAtom_ = XCB_ATOM_NONE;
    int coverOwner_;
    std::unordered_map<xcb_window_t, KnownWindow> windows_;
    std::optional<Milliseconds> activation_;
};

} // namespace velmora::bench
