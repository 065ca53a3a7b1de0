#pragma once

#include <optional>
#include <string>

namespace velmora {

/// A rectangle in global screen coordinates: origin at the bottom-left of the primary
/// display, y upwards.
///
///     Rect window{100, 200, 800, 600};
///     if (auto overlap = window.intersection(screen.frame)) { ... }
///     logger.debug("  input rect: " + describe(window));   // "(100.0, 200.0, 800.0, 600.0)"
struct Rect {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    [[nodiscard]] double maxX() const { return x + width; }
    [[nodiscard]] double maxY() const { return y + height; }

    /// The common area of two rectangles, or nothing when they share no area: rectangles
    /// that only touch along an edge, or have no width or height, do not intersect.
    /// Negative widths and heights are read as extending to the left and downwards.
    [[nodiscard]] std::optional<Rect> intersection(const Rect& other) const;
    [[nodiscard]] bool intersects(const Rect& other) const {
        return intersection(other).has_value();
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

/// "(x, y, width, height)", each number as `describe(double)` writes it.
std::string describe(const Rect& rect);

/// The shortest decimal that reads back as the same double, with at least one fractional
/// digit: 25 is "25.0", 12.5 is "12.5", 0.1 is "0.1". Never in exponent form.
std::string describe(double value);

} // namespace velmora
