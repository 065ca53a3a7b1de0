#include "Platform/Linux/X11Screens.hpp"

#include <xcb/randr.h>

namespace velmora {
namespace {

// Xvfb's name for its single monitor; used as well for the root window when RandR has none.
constexpr const char* rootScreenName = "screen";

} // namespace

X11Screens::X11Screens(std::shared_ptr<XcbConnection> connection)
    : connection_(std::move(connection)) {
    xcb_connection_t* c = connection_->get();
    const auto* randr = xcb_get_extension_data(c, &xcb_randr_id);
    if (randr && randr->present) {
        // Monitors came with RandR 1.5.
        const auto version =
            connection_->reply(xcb_randr_query_version_reply, xcb_randr_query_version(c, 1, 5));
        hasMonitors_ = version && (version->major_version > 1 || version->minor_version >= 5);
        randrEventBase_ = randr->first_event;
        xcb_randr_select_input(c, connection_->root(),
                               XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_OUTPUT_CHANGE |
                                   XCB_RANDR_NOTIFY_MASK_CRTC_CHANGE);
        connection_->flush();
        events_ = connection_->observeEvents(
            [this](const xcb_generic_event_t& event) { handleEvent(event); });
    }
    refresh();
}

std::optional<Screen> X11Screens::mainScreen() const {
    if (screens_.empty()) {
        return std::nullopt;
    }
    xcb_connection_t* c = connection_->get();
    const auto active = connection_->reply(xcb_get_property_reply,
                                           xcb_get_property(c, 0, connection_->root(),
                                                            connection_->ewmh()->_NET_ACTIVE_WINDOW,
                                                            XCB_ATOM_WINDOW, 0, 1));
    if (active && xcb_get_property_value_length(active.get()) == 4) {
        const xcb_window_t window =
            *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
        const auto geometryCookie = xcb_get_geometry(c, window);
        const auto originCookie = xcb_translate_coordinates(c, window, connection_->root(), 0, 0);
        const auto geometry = connection_->reply(xcb_get_geometry_reply, geometryCookie);
        const auto origin = connection_->reply(xcb_translate_coordinates_reply, originCookie);
        if (window != XCB_WINDOW_NONE && geometry && origin) {
            const double x = origin->dst_x + geometry->width / 2.0;
            const double y = origin->dst_y + geometry->height / 2.0;
            for (std::size_t i = 0; i < monitors_.size(); ++i) {
                const Rect& r = monitors_[i].root;
                if (x >= r.x && x < r.maxX() && y >= r.y && y < r.maxY()) {
                    return screens_[i];
                }
            }
        }
    }
    for (std::size_t i = 0; i < monitors_.size(); ++i) {
        if (monitors_[i].root == primary_) {
            return screens_[i];
        }
    }
    return screens_.front();
}

void X11Screens::refresh() {
    std::size_t primary = 0;
    monitors_ = hasMonitors_ ? readMonitors(primary) : std::vector<Monitor>{};
    if (monitors_.empty()) {
        const xcb_screen_t& screen = connection_->screen();
        monitors_.push_back({rootScreenName,
                             {0, 0, static_cast<double>(screen.width_in_pixels),
                              static_cast<double>(screen.height_in_pixels)}});
        primary = 0;
    }
    primary_ = monitors_[primary].root;
    screens_.clear();
    for (const auto& monitor : monitors_) {
        screens_.push_back({monitor.name, coordinates().fromRoot(monitor.root)});
    }
}

std::vector<X11Screens::Monitor> X11Screens::readMonitors(std::size_t& primary) {
    xcb_connection_t* c = connection_->get();
    const auto reply = connection_->reply(xcb_randr_get_monitors_reply,
                                          xcb_randr_get_monitors(c, connection_->root(), 1));
    if (!reply) {
        return {};
    }
    std::vector<Monitor> monitors;
    std::vector<xcb_get_atom_name_cookie_t> names;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
         xcb_randr_monitor_info_next(&it)) {
        const auto& info = *it.data;
        if (info.primary) {
            primary = monitors.size();
        }
        monitors.push_back({{},
                            {static_cast<double>(info.x), static_cast<double>(info.y),
                             static_cast<double>(info.width), static_cast<double>(info.height)}});
        names.push_back(xcb_get_atom_name(c, info.name));
    }
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        if (const auto name = connection_->reply(xcb_get_atom_name_reply, names[i])) {
            monitors[i].name.assign(
                xcb_get_atom_name_name(name.get()),
                static_cast<std::size_t>(xcb_get_atom_name_name_length(name.get())));
        }
    }
    return monitors;
}

void X11Screens::handleEvent(const xcb_generic_event_t& event) {
    const uint8_t type = event.response_type & 0x7f;
    if (type == randrEventBase_ + XCB_RANDR_SCREEN_CHANGE_NOTIFY ||
        type == randrEventBase_ + XCB_RANDR_NOTIFY) {
        refresh();
    }
}

} // namespace velmora
