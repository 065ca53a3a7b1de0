#pragma once

#include <cstdint>

struct xcb_connection_t;

namespace velmora {

/// Gives `window` (mapped by a request already sent on `connection`) the keyboard focus now.
/// Unlike a focus request stamped with the program's last event time, it is not refused after
/// another client, such as the window manager, changed the focus more recently.
///
///     view.show();
///     giveInputFocus(connection, static_cast<std::uint32_t>(view.winId()));
void giveInputFocus(xcb_connection_t* connection, std::uint32_t window);

/// Returns once the server has handled every request sent on `connection`, e.g. a map that
/// another connection must then find done.
void waitUntilHandled(xcb_connection_t* connection);

} // namespace velmora
