#include "Platform/Linux/Wayland/KWinWindowList.hpp"

#include <algorithm>

namespace velmora {

KWinWindowList::KWinWindowList(std::shared_ptr<CompositorBridge> bridge, Coordinates coordinates)
    : bridge_(std::move(bridge)), coordinates_(std::move(coordinates)) {}

std::optional<std::vector<WindowListEntry>> KWinWindowList::onScreenWindows() const {
    std::vector<const kwin::Window*> shown;
    for (const auto& [number, window] : bridge_->windows()) {
        if (window.visible && !window.shield) {
            shown.push_back(&window);
        }
    }
    // KWin's stacking order already puts each layer in its place.
    std::sort(shown.begin(), shown.end(), [](const kwin::Window* a, const kwin::Window* b) {
        return a->stacking > b->stacking;
    });
    const PlacementCoordinates coordinates = coordinates_();
    std::vector<WindowListEntry> entries;
    entries.reserve(shown.size());
    for (const kwin::Window* window : shown) {
        const Rect frame = coordinates.topLeftFromRoot(window->frame);
        entries.push_back({.ownerPid = window->pid,
                           .layer = window->layer,
                           .x = frame.x,
                           .y = frame.y,
                           .width = frame.width,
                           .height = frame.height,
                           .number = window->number});
    }
    return entries;
}

Subscription KWinWindowList::observeChanges(std::function<void()> onChange) {
    return bridge_->observeWindows(std::move(onChange));
}

} // namespace velmora
