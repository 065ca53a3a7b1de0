#pragma once

#include "Support/Rect.hpp"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// A display as the window system places windows on it.
struct Screen {
    std::string localizedName;
    /// The whole display, menu bar included, in global screen coordinates.
    Rect frame;

    friend bool operator==(const Screen&, const Screen&) = default;
};

/// The attached displays.
class ScreenProviding {
public:
    virtual ~ScreenProviding() = default;
    /// In the system's order.
    [[nodiscard]] virtual std::vector<Screen> screens() const = 0;
    /// The screen holding the focused window; none when no display is attached.
    [[nodiscard]] virtual std::optional<Screen> mainScreen() const = 0;
};

} // namespace velmora
