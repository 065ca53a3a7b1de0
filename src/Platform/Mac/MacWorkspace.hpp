#pragma once

#include "Platform/WorkspaceProviding.hpp"
#include "Support/RunLoop.hpp"

#include <memory>

namespace velmora {

/// The desktop's applications through the shared `NSWorkspace` and its notification centre.
/// Main thread only.
///
///     auto workspace = std::make_shared<MacWorkspace>(runLoop);
class MacWorkspace final : public WorkspaceProviding {
public:
    explicit MacWorkspace(std::shared_ptr<RunLoop> runLoop);

    [[nodiscard]] std::optional<RunningApplication> frontmostApplication() const override;
    [[nodiscard]] std::vector<RunningApplication> runningApplications() const override;
    [[nodiscard]] std::optional<RunningApplication>
    runningApplication(ProcessId pid) const override;

    bool activate(ProcessId pid) override;
    bool hide(ProcessId pid) override;

    [[nodiscard]] Subscription observeDidActivateApplication(ActivationHandler handler) override;
    [[nodiscard]] Subscription observeDidTerminateApplication(TerminationHandler handler) override;
    [[nodiscard]] Subscription observeWillSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidWake(SystemEventHandler handler) override;

private:
    std::shared_ptr<RunLoop> runLoop_;
};

} // namespace velmora
