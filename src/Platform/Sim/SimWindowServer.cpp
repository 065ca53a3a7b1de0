#include "Platform/Sim/SimWindowServer.hpp"

#include <algorithm>

namespace velmora {

std::optional<std::vector<WindowListEntry>> SimWindowServer::onScreenWindows() const {
    ++queries_;
    if (unavailable_) {
        return std::nullopt;
    }
    return frontToBack_;
}

void SimWindowServer::addWindow(ProcessId pid, double x, double y, double width, double height,
                                int layer) {
    addEntry(WindowListEntry{pid, layer, x, y, width, height});
}

void SimWindowServer::addEntry(WindowListEntry entry) {
    frontToBack_.insert(frontToBack_.begin(), entry);
}

void SimWindowServer::removeWindowsOf(ProcessId pid) {
    std::erase_if(frontToBack_, [pid](const WindowListEntry& e) { return e.ownerPid == pid; });
}

void SimWindowServer::setUnavailable(bool unavailable) {
    unavailable_ = unavailable;
}

std::size_t SimWindowServer::queryCount() const {
    return queries_;
}

} // namespace velmora
