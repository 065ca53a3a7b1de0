#include "Platform/Linux/X11WindowBackground.hpp"

#include <xcb/xcb.h>

namespace velmora {

void fillUndrawnWithBlack(xcb_connection_t* connection, std::uint32_t window) {
    if (connection == nullptr || window == 0) {
        return;
    }
    // Opaque in a 32-bit visual; the server keeps only the bits of a shallower one.
    const std::uint32_t black = 0xff000000;
    xcb_change_window_attributes(connection, window, XCB_CW_BACK_PIXEL, &black);
    xcb_flush(connection);
}

} // namespace velmora
