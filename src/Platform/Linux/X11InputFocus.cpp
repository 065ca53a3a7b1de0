#include "Platform/Linux/X11InputFocus.hpp"

#include <cstdlib>
#include <xcb/xcb.h>

namespace velmora {

void giveInputFocus(xcb_connection_t* connection, std::uint32_t window) {
    if (connection == nullptr || window == 0) {
        return;
    }
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME);
    xcb_flush(connection);
}

void waitUntilHandled(xcb_connection_t* connection) {
    if (connection != nullptr) {
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }
}

} // namespace velmora
