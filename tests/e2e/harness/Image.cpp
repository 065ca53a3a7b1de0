#include "harness/Image.hpp"

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace velmora::e2e {

bool Rgb::near(Rgb other, int tolerance) const {
    return std::abs(red - other.red) <= tolerance && std::abs(green - other.green) <= tolerance &&
           std::abs(blue - other.blue) <= tolerance;
}

Image::Image(ScreenRect area, std::vector<Rgb> pixels) : area_(area), pixels_(std::move(pixels)) {
    if (pixels_.size() != static_cast<std::size_t>(area_.width) * area_.height) {
        throw std::invalid_argument("pixel count does not match the image size");
    }
}

std::size_t Image::count(Rgb color, int tolerance) const {
    std::size_t matches = 0;
    for (const Rgb& pixel : pixels_) {
        matches += pixel.near(color, tolerance) ? 1 : 0;
    }
    return matches;
}

std::optional<ScreenRect> Image::band(Rgb color, int minimumRun, int tolerance) const {
    int left = area_.width, right = -1, top = -1, bottom = -1;
    for (int row = 0; row < area_.height; ++row) {
        int runStart = 0;
        for (int column = 0; column <= area_.width; ++column) {
            const bool match = column < area_.width &&
                               pixels_[static_cast<std::size_t>(row) * area_.width + column].near(
                                   color, tolerance);
            if (match) {
                continue;
            }
            if (column - runStart >= minimumRun) {
                left = std::min(left, runStart);
                right = std::max(right, column - 1);
                top = top < 0 ? row : top;
                bottom = row;
            }
            runStart = column + 1;
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    return ScreenRect{area_.x + left, area_.y + top, right - left + 1, bottom - top + 1};
}

void Image::writePpm(const std::filesystem::path& path) const {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << area_.width << " " << area_.height << "\n255\n";
    for (const Rgb& pixel : pixels_) {
        out.put(static_cast<char>(pixel.red))
            .put(static_cast<char>(pixel.green))
            .put(static_cast<char>(pixel.blue));
    }
}

} // namespace velmora::e2e
