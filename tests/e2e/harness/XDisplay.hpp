#pragma once

#include "harness/Image.hpp"
#include "harness/ScreenRect.hpp"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace velmora::e2e {

/// One window on the screen as a person (or a window manager) sees it.
struct WindowInfo {
    /// The application's window: the one with WM_STATE inside a window manager's frame, or
    /// the top-level itself (override-redirect windows, or no window manager).
    xcb_window_t window = XCB_WINDOW_NONE;
    /// The child of the root that holds `window`: its frame, or `window` itself.
    xcb_window_t topLevel = XCB_WINDOW_NONE;
    ScreenRect geometry;
    ScreenRect frame;
    /// `window` is mapped and all its ancestors are: it can show pixels.
    bool viewable = false;
    bool overrideRedirect = false;
    /// WM_CLASS.
    std::string instance;
    std::string className;
    /// _NET_WM_NAME, else WM_NAME.
    std::string title;
    std::optional<int> pid;
    /// Position among the root's children, 0 at the bottom.
    int stackingIndex = 0;
};

/// A connection to the test's X server for looking at it: windows, their stacking and
/// properties, the input focus and the screen's pixels.
class XDisplay {
public:
    /// Throws std::runtime_error when the server cannot be reached.
    explicit XDisplay(const std::string& name);
    ~XDisplay();
    XDisplay(const XDisplay&) = delete;
    XDisplay& operator=(const XDisplay&) = delete;

    /// Every top-level window, bottom to top.
    [[nodiscard]] std::vector<WindowInfo> windows();
    /// The topmost window that satisfies `predicate`.
    [[nodiscard]] std::optional<WindowInfo>
    find(const std::function<bool(const WindowInfo&)>& predicate);
    /// `find`, once it finds one within `timeout`.
    [[nodiscard]] std::optional<WindowInfo>
    waitFor(const std::function<bool(const WindowInfo&)>& predicate,
            std::chrono::milliseconds timeout = std::chrono::seconds{5});
    /// The viewable override-redirect window that `isOwner` accepts, stacked above the window
    /// with id `covered` and holding its whole frame: the overlay that covers it. Nothing
    /// while `covered` is not viewable.
    [[nodiscard]] std::optional<WindowInfo>
    overlayOver(xcb_window_t covered, const std::function<bool(const WindowInfo&)>& isOwner);
    /// The window with this id, if it still exists.
    [[nodiscard]] std::optional<WindowInfo> window(xcb_window_t id);
    [[nodiscard]] ScreenRect rootRect() const;
    /// The screen's pixels in `area` (clipped to the screen).
    [[nodiscard]] Image capture(ScreenRect area);
    /// The whole screen as a PNG (and its PPM source) at `path` without extension.
    void saveScreenshot(const std::filesystem::path& path);
    /// Whether some client owns the selection `name`.
    [[nodiscard]] bool selectionOwner(const char* name);
    /// The window that has the keyboard focus.
    [[nodiscard]] xcb_window_t inputFocus();
    /// `window` is `ancestor` or lies inside it.
    [[nodiscard]] bool isWithin(xcb_window_t window, xcb_window_t ancestor);
    /// Sends `window` a client message of `type` with no data, as from another program.
    void sendMessage(xcb_window_t window, const char* type);
    /// The ICCCM state (1 normal, 3 iconic), absent when the window has none.
    [[nodiscard]] std::optional<std::uint32_t> wmState(xcb_window_t window);

private:
    [[nodiscard]] xcb_atom_t atom(const char* name);
    [[nodiscard]] std::optional<std::string> stringProperty(xcb_window_t window,
                                                            xcb_atom_t property);
    [[nodiscard]] std::optional<std::uint32_t> cardinalProperty(xcb_window_t window,
                                                                xcb_atom_t property);
    [[nodiscard]] xcb_window_t clientWindow(xcb_window_t topLevel, int depth);
    [[nodiscard]] ScreenRect rootGeometry(xcb_window_t window);
    [[nodiscard]] std::optional<WindowInfo> describe(xcb_window_t topLevel, int stackingIndex);

    xcb_connection_t* connection_;
    xcb_screen_t* screen_;
    xcb_atom_t wmStateAtom_;
    xcb_atom_t netWmNameAtom_;
    xcb_atom_t netWmPidAtom_;
};

} // namespace velmora::e2e
