#pragma once

#include <cstdint>
#include <vector>

namespace velmora {

/// The X windows of Velmora's own top-level Qt windows that the server knows, shown or
/// not (those never shown have none yet).
///
///     for (std::uint32_t id : velmoraWindows()) { ... }
[[nodiscard]] std::vector<std::uint32_t> velmoraWindows();
/// `window` is one of them.
[[nodiscard]] bool isVelmoraWindow(std::uint32_t window);

} // namespace velmora
