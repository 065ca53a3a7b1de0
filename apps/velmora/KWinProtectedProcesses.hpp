#pragma once

#include "Platform/WorkspaceProviding.hpp"
#include "Support/Subscription.hpp"

#include <memory>
#include <vector>

namespace velmora {

class AppState;
class CompositorBridge;

/// Keeps Velmora's KWin script told which running processes are protected, so that it
/// hides them at once should Velmora vanish: the part of the guard's job that the compositor
/// does best. Told again whenever windows come or go or the protected list changes.
///
///     KWinProtectedProcesses protectedProcesses(bridge, AppState::shared(), workspace);
class KWinProtectedProcesses {
public:
    KWinProtectedProcesses(std::shared_ptr<CompositorBridge> bridge,
                           std::shared_ptr<AppState> state,
                           std::shared_ptr<WorkspaceProviding> workspace);

private:
    void update();

    std::shared_ptr<CompositorBridge> bridge_;
    std::shared_ptr<AppState> state_;
    std::shared_ptr<WorkspaceProviding> workspace_;
    std::vector<ProcessId> told_;
    Subscription windows_;
    Subscription protectedApps_;
};

} // namespace velmora
