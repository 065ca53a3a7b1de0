#pragma once

#include "Platform/Linux/PlacementCoordinates.hpp"
#include "Platform/Linux/Wayland/CompositorBridge.hpp"
#include "Platform/WindowList.hpp"

#include <functional>
#include <memory>

namespace velmora {

/// The windows KWin shows now, front first, as Velmora's KWin script reports them: each with
/// its owner, the script's number for it, a layer (0 for normal windows, higher for windows
/// kept above) and its frame relative to the primary monitor's top-left corner. Velmora's
/// own covers and cards are left out. Every change is announced, so nobody has to ask again.
///
///     KWinWindowList windows(bridge, [&] { return screens.coordinates(); });
///     Subscription s = windows.observeChanges([&] { recover(*windows.onScreenWindows()); });
class KWinWindowList final : public WindowListProviding {
public:
    using Coordinates = std::function<PlacementCoordinates()>;

    KWinWindowList(std::shared_ptr<CompositorBridge> bridge, Coordinates coordinates);

    [[nodiscard]] std::optional<std::vector<WindowListEntry>> onScreenWindows() const override;
    [[nodiscard]] Subscription observeChanges(std::function<void()> onChange) override;
    [[nodiscard]] bool announcesChanges() const override { return true; }

private:
    std::shared_ptr<CompositorBridge> bridge_;
    Coordinates coordinates_;
};

} // namespace velmora
