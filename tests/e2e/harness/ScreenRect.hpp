#pragma once

#include <algorithm>
#include <ostream>

namespace velmora::e2e {

/// A rectangle in X root-window coordinates (origin top-left, y downwards), in pixels.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    [[nodiscard]] bool contains(const ScreenRect& other) const {
        return other.x >= x && other.y >= y && other.x + other.width <= x + width &&
               other.y + other.height <= y + height;
    }
    [[nodiscard]] ScreenRect intersection(const ScreenRect& other) const {
        const int left = std::max(x, other.x);
        const int top = std::max(y, other.y);
        const int right = std::min(x + width, other.x + other.width);
        const int bottom = std::min(y + height, other.y + other.height);
        return right > left && bottom > top ? ScreenRect{left, top, right - left, bottom - top}
                                            : ScreenRect{};
    }
    [[nodiscard]] int bottom() const { return y + height; }
    [[nodiscard]] int centerX() const { return x + width / 2; }
    [[nodiscard]] int centerY() const { return y + height / 2; }

    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
    friend std::ostream& operator<<(std::ostream& out, const ScreenRect& rect) {
        return out << rect.width << "x" << rect.height << "+" << rect.x << "+" << rect.y;
    }
};

} // namespace velmora::e2e
