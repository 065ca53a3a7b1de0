#include "Platform/Linux/X11EarlyMap.hpp"

#include <xcb/xcb.h>

namespace velmora {

void mapOnTopAtOnce(xcb_connection_t* connection, std::uint32_t window) {
    if (connection == nullptr || window == 0) {
        return;
    }
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection, window, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_map_window(connection, window);
    xcb_flush(connection);
}

} // namespace velmora
