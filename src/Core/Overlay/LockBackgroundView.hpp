#pragma once

#include "Support/Color.hpp"

#include <array>

namespace velmora {

/// The dark cover over the whole locked window. Every click on it is consumed, so nothing
/// beneath is reached.
struct LockBackgroundView {
    /// Opacity of the black cover.
    double backgroundOpacity = 0.95;

    /// Layered over the black, from the top-leading to the bottom-trailing corner.
    static constexpr std::array<Color, 3> sheenGradient{Color::white(0.02), Color::clear(),
                                                        Color::white(0.01)};

    [[nodiscard]] Color coverColor() const { return Color::black(backgroundOpacity); }

    /// A tap anywhere on the cover: consumed, with no effect.
    void tapped() const {}
};

} // namespace velmora
