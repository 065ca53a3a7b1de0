#pragma once

#include "Support/Rect.hpp"

namespace velmora {

/// Converts between X root-window coordinates (origin top-left of the root window, y
/// downwards) and the placement coordinates the lock engine uses (origin bottom-left of the
/// primary monitor, y upwards).
///
///     PlacementCoordinates coords{primaryMonitorInRootCoordinates};
///     Rect placed = coords.fromRoot(frame);
///     Rect back = coords.toRoot(placed);   // == frame
struct PlacementCoordinates {
    /// The primary monitor's rectangle in root coordinates.
    Rect primary;

    /// The window server's top-left coordinates: relative to the primary monitor's corner.
    [[nodiscard]] Rect topLeftFromRoot(Rect root) const {
        return {root.x - primary.x, root.y - primary.y, root.width, root.height};
    }
    [[nodiscard]] Rect fromRoot(Rect root) const {
        return {root.x - primary.x, primary.y + primary.height - root.y - root.height, root.width,
                root.height};
    }
    [[nodiscard]] Rect toRoot(Rect placed) const {
        return {placed.x + primary.x, primary.y + primary.height - placed.y - placed.height,
                placed.width, placed.height};
    }
};

} // namespace velmora
