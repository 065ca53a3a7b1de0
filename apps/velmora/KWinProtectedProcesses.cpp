#include "KWinProtectedProcesses.hpp"

#include "Models/AppState.hpp"
#include "Platform/Linux/Wayland/CompositorBridge.hpp"

namespace velmora {

KWinProtectedProcesses::KWinProtectedProcesses(std::shared_ptr<CompositorBridge> bridge,
                                               std::shared_ptr<AppState> state,
                                               std::shared_ptr<WorkspaceProviding> workspace)
    : bridge_(std::move(bridge)), state_(std::move(state)), workspace_(std::move(workspace)) {
    windows_ = bridge_->observeWindows([this] { update(); });
    protectedApps_ = state_->protectedApps().subscribe([this](const auto&) { update(); });
}

void KWinProtectedProcesses::update() {
    std::vector<ProcessId> pids;
    for (const RunningApplication& app : workspace_->runningApplications()) {
        if (app.bundleIdentifier && state_->isProtected(*app.bundleIdentifier)) {
            pids.push_back(app.processIdentifier);
        }
    }
    if (pids != told_) {
        told_ = pids;
        bridge_->send(kwin::protect(pids));
    }
}

} // namespace velmora
