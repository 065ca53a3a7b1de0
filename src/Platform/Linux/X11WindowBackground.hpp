#pragma once

#include <cstdint>

struct xcb_connection_t;

namespace velmora {

/// Has the X server fill `window` with opaque black wherever the program has not drawn yet,
/// so that a cover hides what lies beneath from the moment it is mapped, not only from its
/// first frame on.
///
///     fillUndrawnWithBlack(connection, static_cast<std::uint32_t>(quickWindow.winId()));
void fillUndrawnWithBlack(xcb_connection_t* connection, std::uint32_t window);

} // namespace velmora
