#pragma once

#include "Models/FrontmostAppMonitoring.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Support/Observable.hpp"

#include <memory>
#include <optional>

namespace velmora {

/// Follows the workspace's activations and keeps the frontmost application as a
/// `FrontmostAppInfo`.
///
///     auto monitor = FrontmostAppMonitor::create(workspace);
///     monitor->startMonitoring();   // refreshes at once, then follows activations
///     monitor->stopMonitoring();    // keeps the last value
///
/// Main thread only. Discarding a monitor stops it.
class FrontmostAppMonitor final : public FrontmostAppMonitoring,
                                  public std::enable_shared_from_this<FrontmostAppMonitor> {
    struct Passkey {};

public:
    static std::shared_ptr<FrontmostAppMonitor>
    create(std::shared_ptr<WorkspaceProviding> workspaceProvider);
    FrontmostAppMonitor(Passkey, std::shared_ptr<WorkspaceProviding> workspaceProvider);

    [[nodiscard]] const FrontmostAppInfo& currentAppInfo() const override;
    [[nodiscard]] Subscription currentAppInfoPublisher(Subscriber subscriber) override;
    void startMonitoring() override;
    void stopMonitoring() override;

    [[nodiscard]] bool isMonitoring() const { return isMonitoring_; }
    /// Asks the workspace for its frontmost application and publishes it if it changed.
    void refresh();

private:
    void handleActivation(const std::optional<RunningApplication>& app);
    void apply(const RunningApplication& app);
    void publish(FrontmostAppInfo info);

    Observable<FrontmostAppInfo> currentAppInfo_{FrontmostAppInfo::unknown()};
    std::shared_ptr<WorkspaceProviding> workspaceProvider_;
    std::optional<Subscription> notificationSubscription_;
    bool isMonitoring_ = false;
};

} // namespace velmora
