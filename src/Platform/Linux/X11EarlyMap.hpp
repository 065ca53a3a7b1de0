#pragma once

#include <cstdint>

struct xcb_connection_t;

namespace velmora {

/// Raises `window` above its siblings and maps it, sent to the server at once. A cover shows
/// the moment the map arrives (black, see fillUndrawnWithBlack), before the toolkit has done
/// its own part of showing the window or drawn a frame; the toolkit's later map is a no-op.
///
///     mapOnTopAtOnce(connection, static_cast<std::uint32_t>(quickWindow.winId()));
///     quickWindow.show();
void mapOnTopAtOnce(xcb_connection_t* connection, std::uint32_t window);

} // namespace velmora
