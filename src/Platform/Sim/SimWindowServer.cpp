#include "Platform/Sim/SimWindowServer.hpp"

#include <algorithm>

namespace velmora {

std::optional<std::vector<WindowListEntry>> SimWindowServer::onScreenWindows() const {
    ++queries_;
    if (unavailable_) {
        return std::nullopt;
    }
    std::vector<WindowListEntry> onScreen = frontToBack_;
    if (isHidden_) {
        std::erase_if(onScreen, [this](const WindowListEntry& entry) {
            return entry.ownerPid && isHidden_(*entry.ownerPid);
        });
    }
    return onScreen;
}

void SimWindowServer::addWindow(ProcessId pid, double x, double y, double width, double height,
                                int layer) {
    addEntry(WindowListEntry{pid, layer, x, y, width, height});
}

void SimWindowServer::addEntry(WindowListEntry entry) {
    frontToBack_.insert(frontToBack_.begin(), entry);
    announce();
}

bool SimWindowServer::moveWindow(ProcessId pid, Rect from, Rect to) {
    const auto window = find(pid, from);
    if (window == frontToBack_.end()) {
        return false;
    }
    window->x = to.x;
    window->y = to.y;
    window->width = to.width;
    window->height = to.height;
    announce();
    return true;
}

bool SimWindowServer::removeWindow(ProcessId pid, Rect frame) {
    const auto window = find(pid, frame);
    if (window == frontToBack_.end()) {
        return false;
    }
    frontToBack_.erase(window);
    announce();
    return true;
}

std::vector<WindowListEntry>::iterator SimWindowServer::find(ProcessId pid, Rect frame) {
    return std::find_if(frontToBack_.begin(), frontToBack_.end(), [&](const WindowListEntry& e) {
        return e.ownerPid == pid && e.x == frame.x && e.y == frame.y && e.width == frame.width &&
               e.height == frame.height;
    });
}

void SimWindowServer::removeWindowsOf(ProcessId pid) {
    std::erase_if(frontToBack_, [pid](const WindowListEntry& e) { return e.ownerPid == pid; });
    announce();
}

Subscription SimWindowServer::observeChanges(std::function<void()> onChange) {
    return changed_.connect(std::move(onChange));
}

void SimWindowServer::announce() const {
    if (announcesChanges_) {
        changed_.emit();
    }
}

void SimWindowServer::setHiddenProcesses(std::function<bool(ProcessId)> isHidden) {
    isHidden_ = std::move(isHidden);
}

void SimWindowServer::setUnavailable(bool unavailable) {
    unavailable_ = unavailable;
}

std::size_t SimWindowServer::queryCount() const {
    return queries_;
}

} // namespace velmora
