#pragma once

namespace velmora {

/// An sRGB colour with opacity, each component from 0 to 1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr Color clear() { return {0, 0, 0, 0}; }
    static constexpr Color black(double alpha = 1) { return {0, 0, 0, alpha}; }
    static constexpr Color white(double alpha = 1) { return {1, 1, 1, alpha}; }

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

} // namespace velmora
