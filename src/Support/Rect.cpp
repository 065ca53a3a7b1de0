#include "Support/Rect.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace velmora {

namespace {

bool hasNaN(const Rect& r) {
    return std::isnan(r.x) || std::isnan(r.y) || std::isnan(r.width) || std::isnan(r.height);
}

Rect standardized(const Rect& r) {
    Rect s = r;
    if (s.width < 0) {
        s.x += s.width;
        s.width = -s.width;
    }
    if (s.height < 0) {
        s.y += s.height;
        s.height = -s.height;
    }
    return s;
}

} // namespace

std::optional<Rect> Rect::intersection(const Rect& other) const {
    if (hasNaN(*this) || hasNaN(other)) {
        return std::nullopt;
    }
    const Rect a = standardized(*this);
    const Rect b = standardized(other);
    const double left = std::max(a.x, b.x);
    const double bottom = std::max(a.y, b.y);
    const double right = std::min(a.maxX(), b.maxX());
    const double top = std::min(a.maxY(), b.maxY());
    if (!(right > left) || !(top > bottom)) {
        return std::nullopt;
    }
    return Rect{left, bottom, right - left, top - bottom};
}

std::string describe(double value) {
    // Fixed notation of a double needs at most 309 integer digits plus 17 significant ones.
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed);
    std::string text(buffer.data(), result.ptr);
    if (std::isfinite(value) && text.find('.') == std::string::npos) {
        text += ".0";
    }
    return text;
}

std::string describe(const Rect& rect) {
    // Appended piece by piece: g++ 12 warns falsely (-Wrestrict) on a chain of `+`.
    std::string text = "(";
    text += describe(rect.x);
    text += ", ";
    text += describe(rect.y);
    text += ", ";
    text += describe(rect.width);
    text += ", ";
    text += describe(rect.height);
    text += ")";
    return text;
}

} // namespace velmora
