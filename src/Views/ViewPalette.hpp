#pragma once

#include "Support/Color.hpp"

namespace velmora {

/// The program's own colours, shared by the menu-bar panel and the lock card.
struct ViewPalette {
    static constexpr Color accent{0.6, 0.55, 0.9};
    static constexpr Color accentFill{0.25, 0.25, 0.4};
    static constexpr Color unlocked{0.3, 0.75, 0.4};
    static constexpr Color unlockedFill{0.2, 0.35, 0.25};
};

} // namespace velmora
