#include "Core/LockEngine/LockEngineWindows.hpp"

#include <algorithm>
#include <cmath>

namespace velmora::lockengine {

bool isCoverable(const WindowListEntry& entry) {
    if (!entry.ownerPid || !entry.layer || *entry.layer < 0 || !entry.x || !entry.y ||
        !entry.width || !entry.height) {
        return false;
    }
    return std::isfinite(*entry.x) && std::isfinite(*entry.y) && std::isfinite(*entry.width) &&
           std::isfinite(*entry.height) && *entry.width > 0 && *entry.height > 0;
}

const WindowListEntry* coverableWindow(const std::vector<WindowListEntry>& windows, ProcessId pid) {
    const WindowListEntry* raised = nullptr;
    for (const WindowListEntry& entry : windows) {
        if (entry.ownerPid != pid || !isCoverable(entry)) {
            continue;
        }
        if (*entry.layer == 0) {
            return &entry;
        }
        if (!raised) {
            raised = &entry;
        }
    }
    return raised;
}

Rect placementFrame(const WindowListEntry& entry, double primaryHeight) {
    return {*entry.x, primaryHeight - *entry.y - *entry.height, *entry.width, *entry.height};
}

std::optional<Screen> mainOrFirstScreen(const ScreenProviding& screens) {
    if (auto main = screens.mainScreen()) {
        return main;
    }
    auto all = screens.screens();
    if (all.empty()) {
        return std::nullopt;
    }
    return std::move(all.front());
}

double primaryScreenHeight(const ScreenProviding& screens) {
    const auto all = screens.screens();
    const auto primary = std::find_if(all.begin(), all.end(), [](const Screen& screen) {
        return screen.frame.x == 0 && screen.frame.y == 0;
    });
    const auto reference =
        primary != all.end() ? std::optional<Screen>(*primary) : mainOrFirstScreen(screens);
    return reference ? reference->frame.height : 0;
}

} // namespace velmora::lockengine
