#include "GuardCovers.hpp"

#include "Platform/Linux/X11WindowManagerCalls.hpp"

#include <algorithm>
#include <string_view>

namespace velmora {

void GuardCovers::cover(xcb_window_t window) {
    if (isCovered(window)) {
        return;
    }
    const xcb_window_t frame = frameOf(window);
    if (frame == XCB_WINDOW_NONE) {
        return;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    const xcb_window_t cover = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->black_pixel, 1,
                               XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                   XCB_EVENT_MASK_POINTER_MOTION};
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, cover, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    // Named as Velmora's, for whoever lists the windows.
    constexpr std::string_view kClass{"velmora-guard\0Velmora", 22};
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, cover, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, kClass.size(), kClass.data());
    covers_.push_back({window, frame, cover});
    place(covers_.back());
}

bool GuardCovers::isCovered(xcb_window_t window) const {
    return std::any_of(covers_.begin(), covers_.end(),
                       [&](const Cover& cover) { return cover.window == window; });
}

void GuardCovers::handle(const xcb_generic_event_t& event) {
    xcb_window_t frame = XCB_WINDOW_NONE;
    switch (event.response_type & 0x7f) {
    case XCB_CONFIGURE_NOTIFY:
        frame = reinterpret_cast<const xcb_configure_notify_event_t&>(event).window;
        break;
    case XCB_MAP_NOTIFY:
        frame = reinterpret_cast<const xcb_map_notify_event_t&>(event).window;
        break;
    case XCB_UNMAP_NOTIFY:
        frame = reinterpret_cast<const xcb_unmap_notify_event_t&>(event).window;
        break;
    case XCB_DESTROY_NOTIFY: {
        const xcb_window_t gone = reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window;
        std::erase_if(covers_, [&](const Cover& cover) {
            const bool ends = cover.frame == gone || cover.window == gone;
            if (ends) {
                xcb_destroy_window(connection_, cover.cover);
            }
            return ends;
        });
        xcb_flush(connection_);
        return;
    }
    default:
        return;
    }
    for (const Cover& cover : covers_) {
        if (cover.frame == frame) {
            place(cover);
        }
    }
}

void GuardCovers::clear() {
    for (const Cover& cover : covers_) {
        xcb_destroy_window(connection_, cover.cover);
    }
    if (!covers_.empty()) {
        xcb_flush(connection_);
    }
    covers_.clear();
}

xcb_window_t GuardCovers::frameOf(xcb_window_t window) const {
    // The frame is the window's ancestor that is a child of the root.
    for (int level = 0; level < 8; ++level) {
        const XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
        if (!tree) {
            return XCB_WINDOW_NONE;
        }
        if (tree->parent == root_ || tree->parent == XCB_WINDOW_NONE) {
            return window;
        }
        window = tree->parent;
    }
    return window;
}

void GuardCovers::place(const Cover& cover) {
    const auto attributesCookie = xcb_get_window_attributes(connection_, cover.frame);
    const auto geometryCookie = xcb_get_geometry(connection_, cover.frame);
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection_, attributesCookie, nullptr));
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, geometryCookie, nullptr));
    // A frame the manager hides (another tab, another workspace) needs no cover, and a
    // cover there would blacken what is shown instead.
    if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
        xcb_unmap_window(connection_, cover.cover);
        xcb_flush(connection_);
        return;
    }
    const uint32_t border = geometry->border_width;
    const uint32_t values[] = {static_cast<uint32_t>(geometry->x),
                               static_cast<uint32_t>(geometry->y),
                               geometry->width + 2 * border,
                               geometry->height + 2 * border,
                               cover.frame,
                               XCB_STACK_MODE_ABOVE};
    xcb_configure_window(connection_, cover.cover,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_SIBLING |
                             XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    xcb_map_window(connection_, cover.cover);
    xcb_flush(connection_);
}

} // namespace velmora
