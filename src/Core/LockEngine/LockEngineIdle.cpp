#include "Core/LockEngine/LockEngine.hpp"

namespace velmora {

void LockEngine::handleAppIdleTimeout(const std::string& bundleId) {
    logger_->info("App " + bundleId + " idle timeout");
    idle_->markIdleLocked(bundleId);
    // The processes that held the unlock are the ones that timed out; asked before the
    // machine forgets them.
    std::vector<ProcessId> timedOut = unlockedProcesses(bundleId);
    stateMachine_.process(LockEvent::appIdleTimeout(bundleId));
    hideOverlay(bundleId);
    if (timedOut.empty()) {
        if (const auto app = firstRunningApplication(bundleId)) {
            timedOut.push_back(app->processIdentifier);
        }
    }
    if (!timedOut.empty()) {
        logger_->info("Minimizing timed-out app: " + bundleId);
    }
    for (const ProcessId pid : timedOut) {
        workspace_->hide(pid);
        verifyHidden(pid, bundleId);
    }
    if (frontmostBundleId() == bundleId) {
        activatePreviousAppSilently();
    }
}

} // namespace velmora
