#pragma once

#include "Platform/Linux/PlacementCoordinates.hpp"
#include "Platform/Screens.hpp"

#include <functional>
#include <optional>

namespace velmora {

/// The displays as Qt knows them (on Wayland, the compositor's outputs), with frames in
/// placement coordinates.
///
///     QtScreens screens([&] { return activeWindowFrameInRootCoordinates(); });
///     Rect placed = screens.coordinates().fromRoot(rootRect);
class QtScreens final : public ScreenProviding {
public:
    /// The active window's frame in the compositor's coordinates, when there is one.
    using ActiveFrame = std::function<std::optional<Rect>()>;

    explicit QtScreens(ActiveFrame activeFrame);

    [[nodiscard]] std::vector<Screen> screens() const override;
    /// The display holding the centre of the active window, else the primary one.
    [[nodiscard]] std::optional<Screen> mainScreen() const override;
    /// Between the compositor's coordinates and placement coordinates.
    [[nodiscard]] PlacementCoordinates coordinates() const { return primaryCoordinates(); }
    [[nodiscard]] static PlacementCoordinates primaryCoordinates();

private:
    ActiveFrame activeFrame_;
};

} // namespace velmora
