#include "Core/LockEngine/LockEngineWindows.hpp"

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

} // namespace velmora::lockengine
