#pragma once

#include <vector>
#include <xcb/xcb.h>

namespace velmora {

/// Plain black override-redirect windows over windows the window manager would not
/// iconify (tiling managers refuse): opaque, taking every pointer event, each the sibling
/// directly above its window's frame and following that frame as the manager moves,
/// restacks, hides and shows it.
///
///     GuardCovers covers(connection, root);
///     covers.cover(window);      // a client window that stayed on screen
///     covers.handle(*event);     // every event of the connection
///     covers.clear();            // Velmora covers again
class GuardCovers {
public:
    GuardCovers(xcb_connection_t* connection, xcb_window_t root)
        : connection_(connection), root_(root) {}
    ~GuardCovers() { clear(); }
    GuardCovers(const GuardCovers&) = delete;
    GuardCovers& operator=(const GuardCovers&) = delete;

    void cover(xcb_window_t window);
    [[nodiscard]] bool isCovered(xcb_window_t window) const;
    void handle(const xcb_generic_event_t& event);
    void clear();
    [[nodiscard]] std::size_t count() const { return covers_.size(); }

private:
    struct Cover {
        xcb_window_t window;
        xcb_window_t frame;
        xcb_window_t cover;
    };

    [[nodiscard]] xcb_window_t frameOf(xcb_window_t window) const;
    void place(const Cover& cover);

    xcb_connection_t* connection_;
    xcb_window_t root_;
    std::vector<Cover> covers_;
};

} // namespace velmora
