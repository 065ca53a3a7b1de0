#pragma once

#include "Platform/Screens.hpp"

namespace velmora {

/// The displays as `NSScreen` reports them; their frames are already in global screen
/// coordinates with the origin at the bottom-left of the primary display.
class MacScreens final : public ScreenProviding {
public:
    [[nodiscard]] std::vector<Screen> screens() const override;
    [[nodiscard]] std::optional<Screen> mainScreen() const override;
};

} // namespace velmora
