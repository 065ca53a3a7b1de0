#pragma once

#include "harness/ScreenRect.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace velmora::e2e {

/// An sRGB colour with 8-bit components.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    /// From 0xRRGGBB.
    static constexpr Rgb fromHex(std::uint32_t value) {
        return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                static_cast<std::uint8_t>(value)};
    }
    /// From components between 0 and 1, as the interface palette gives them.
    static constexpr Rgb fromUnit(double red, double green, double blue) {
        return {component(red), component(green), component(blue)};
    }
    /// Every component within `tolerance` of the other's.
    [[nodiscard]] bool near(Rgb other, int tolerance) const;

    friend bool operator==(const Rgb&, const Rgb&) = default;

private:
    static constexpr std::uint8_t component(double unit) {
        return static_cast<std::uint8_t>(unit * 255.0 + 0.5);
    }
};

/// A picture of part of the screen, taken at `origin` (root coordinates).
class Image {
public:
    Image(ScreenRect area, std::vector<Rgb> pixels);

    [[nodiscard]] const ScreenRect& area() const { return area_; }
    /// Pixels within `tolerance` of `color`.
    [[nodiscard]] std::size_t count(Rgb color, int tolerance = 2) const;
    /// The bounding box, in root coordinates, of the rows that hold a horizontal run of at
    /// least `minimumRun` pixels of `color`: a wide button among smaller shapes of its colour.
    [[nodiscard]] std::optional<ScreenRect> band(Rgb color, int minimumRun,
                                                 int tolerance = 2) const;
    /// Writes a binary PPM, for a person to look at after a failure.
    void writePpm(const std::filesystem::path& path) const;

private:
    ScreenRect area_;
    std::vector<Rgb> pixels_;
};

} // namespace velmora::e2e
