#include "Platform/Sim/SimWindowServer.hpp"

#include <algorithm>

namespace velmora {

std::optional<std::vector<WindowListEntry>> SimWindowServer::onScreenWindows() const {
    ++queries_;
    if (unavailable_) {
        return std::nullopt;
    }
    std::vector<WindowListEntry> onScreen;
    for (const Slot& slot : frontToBack_) {
        if (!slot.cover &&
            !(isHidden_ && slot.window.ownerPid && isHidden_(*slot.window.ownerPid))) {
            onScreen.push_back(slot.window);
        }
    }
    return onScreen;
}

void SimWindowServer::addWindow(ProcessId pid, double x, double y, double width, double height,
                                int layer) {
    addEntry(WindowListEntry{pid, layer, x, y, width, height, nextNumber_++});
}

void SimWindowServer::addEntry(WindowListEntry entry) {
    frontToBack_.insert(frontToBack_.begin(), Slot{std::move(entry), std::nullopt, {}});
    announce();
}

bool SimWindowServer::moveWindow(ProcessId pid, Rect from, Rect to) {
    const auto slot = find(pid, from);
    if (slot == frontToBack_.end()) {
        return false;
    }
    slot->window.x = to.x;
    slot->window.y = to.y;
    slot->window.width = to.width;
    slot->window.height = to.height;
    announce();
    return true;
}

bool SimWindowServer::removeWindow(ProcessId pid, Rect frame) {
    const auto slot = find(pid, frame);
    if (slot == frontToBack_.end()) {
        return false;
    }
    frontToBack_.erase(slot);
    announce();
    return true;
}

bool SimWindowServer::raiseWindow(ProcessId pid, Rect frame) {
    const auto slot = find(pid, frame);
    if (slot == frontToBack_.end()) {
        return false;
    }
    std::rotate(frontToBack_.begin(), slot, slot + 1);
    announce();
    return true;
}

std::vector<SimWindowServer::Slot>::iterator SimWindowServer::find(ProcessId pid, Rect frame) {
    return std::find_if(frontToBack_.begin(), frontToBack_.end(), [&](const Slot& slot) {
        const WindowListEntry& e = slot.window;
        return !slot.cover && e.ownerPid == pid && e.x == frame.x && e.y == frame.y &&
               e.width == frame.width && e.height == frame.height;
    });
}

void SimWindowServer::removeWindowsOf(ProcessId pid) {
    std::erase_if(frontToBack_,
                  [pid](const Slot& slot) { return !slot.cover && slot.window.ownerPid == pid; });
    announce();
}

Subscription SimWindowServer::observeChanges(std::function<void()> onChange) {
    return changed_.connect(std::move(onChange));
}

void SimWindowServer::announceChange() const {
    announce();
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

void SimWindowServer::placeCover(CoverId cover, const CoverPlacement& placement) {
    removeCover(cover);
    const auto covered = std::find_if(frontToBack_.begin(), frontToBack_.end(), [&](const Slot& s) {
        return placement.above && !s.cover && s.window.number == placement.above;
    });
    const auto at = covered == frontToBack_.end() ? frontToBack_.begin() : covered;
    frontToBack_.insert(at, Slot{{}, cover, placement});
}

void SimWindowServer::removeCover(CoverId cover) {
    std::erase_if(frontToBack_, [cover](const Slot& slot) { return slot.cover == cover; });
}

std::vector<CoverPlacement> SimWindowServer::coversDirectlyAbove(WindowNumber window) const {
    const auto covered = std::find_if(frontToBack_.begin(), frontToBack_.end(), [&](const Slot& s) {
        return !s.cover && s.window.number == window;
    });
    std::vector<CoverPlacement> covers;
    if (covered == frontToBack_.end()) {
        return covers;
    }
    for (auto slot = covered; slot != frontToBack_.begin() && std::prev(slot)->cover; --slot) {
        covers.push_back(std::prev(slot)->placement);
    }
    return covers;
}

} // namespace velmora
