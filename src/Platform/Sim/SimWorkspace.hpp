#pragma once

#include "Platform/WorkspaceProviding.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <memory>
#include <set>
#include <vector>

namespace velmora {

/// An in-memory desktop of running applications.
///
///     SimWorkspace desktop(loop);
///     ProcessId notes = desktop.launch({.bundleIdentifier = "com.example.notes"});
///     desktop.activate(notes);   // frontmost now; observers hear of it on the next turn
///     loop.runUntilIdle();
///     desktop.quit(notes);
///
/// Like a real desktop, hiding or quitting the frontmost application brings the previously
/// active visible one forward. Every `activate` and `hide` call is recorded, refused or not.
class SimWorkspace final : public WorkspaceProviding {
public:
    explicit SimWorkspace(RunLoop& runLoop);

    [[nodiscard]] std::optional<RunningApplication> frontmostApplication() const override;
    [[nodiscard]] std::vector<RunningApplication> runningApplications() const override;
    bool activate(ProcessId pid) override;
    bool hide(ProcessId pid) override;
    [[nodiscard]] std::optional<RunningApplication>
    runningApplication(ProcessId pid) const override;
    [[nodiscard]] Subscription observeDidActivateApplication(ActivationHandler handler) override;
    [[nodiscard]] Subscription observeDidTerminateApplication(TerminationHandler handler) override;
    [[nodiscard]] Subscription observeWillSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidSleep(SystemEventHandler handler) override;
    [[nodiscard]] Subscription observeScreensDidWake(SystemEventHandler handler) override;

    /// Adds a running application, not in front. A process id of 0 or below is replaced by
    /// a fresh one; every launch gets a start time later than the ones before. Returns the
    /// application's process id.
    ProcessId launch(RunningApplication app);
    /// Ends the application: it leaves the running list, observers hear of it on the next
    /// turn and, if it was in front, the previous one comes forward. False when it was not
    /// running.
    bool quit(ProcessId pid);
    /// Puts the application in front, or none, without a notification, as when the system's
    /// notification is late or lost. False when the application is not running.
    bool setFrontmostQuietly(std::optional<ProcessId> pid);
    /// Posts an activation notification as the system would, with or without an application.
    void postActivationNotification(std::optional<RunningApplication> app);
    /// Posts a termination notification, with or without an application.
    void postTerminationNotification(std::optional<RunningApplication> app);
    void postWillSleep();
    void postScreensDidSleep();
    void postScreensDidWake();

    /// Like a tiling window manager: hide requests are answered, but the windows stay.
    void setRefusesHiding(bool refuses) { refusesHiding_ = refuses; }
    /// After an application was hidden or shown again.
    [[nodiscard]] Subscription observeVisibilityChanges(std::function<void()> handler) {
        return visibilityChanged_.connect(std::move(handler));
    }

    /// A running or quit application.
    [[nodiscard]] std::optional<RunningApplication> application(ProcessId pid) const;
    [[nodiscard]] bool isHidden(ProcessId pid) const;

    /// Every `activate` and `hide` call, in call order.
    [[nodiscard]] const std::vector<ProcessId>& activationRequests() const {
        return activationRequests_;
    }
    [[nodiscard]] const std::vector<ProcessId>& hideRequests() const { return hideRequests_; }
    [[nodiscard]] std::size_t activationObserverCount() const {
        return activated_->subscriberCount();
    }

private:
    static constexpr ProcessId kFirstPid = 1000;
    using ActivationSignal = Signal<const std::optional<RunningApplication>&>;
    using SystemEventSignal = Signal<>;

    void postSystemEvent(const std::shared_ptr<SystemEventSignal>& signal);
    void postApplicationEvent(const std::shared_ptr<ActivationSignal>& signal,
                              std::optional<RunningApplication> app);

    [[nodiscard]] const RunningApplication* find(ProcessId pid) const;
    void bringForward(ProcessId pid);
    [[nodiscard]] ProcessId freshPid();
    void passFrontmostOnFrom(ProcessId pid);

    RunLoop& runLoop_;
    std::vector<RunningApplication> running_;
    std::vector<RunningApplication> terminated_;
    std::set<ProcessId> hidden_;
    bool refusesHiding_ = false;
    Signal<> visibilityChanged_;
    /// Most recently active last.
    std::vector<ProcessId> activationOrder_;
    std::optional<ProcessId> frontmost_;
    ProcessId nextPid_ = kFirstPid;
    std::uint64_t launches_ = 0;
    std::vector<ProcessId> activationRequests_;
    std::vector<ProcessId> hideRequests_;
    // Shared with queued deliveries, which may run after the workspace is gone.
    std::shared_ptr<ActivationSignal> activated_ = std::make_shared<ActivationSignal>();
    std::shared_ptr<ActivationSignal> didTerminate_ = std::make_shared<ActivationSignal>();
    std::shared_ptr<SystemEventSignal> willSleep_ = std::make_shared<SystemEventSignal>();
    std::shared_ptr<SystemEventSignal> screensDidSleep_ = std::make_shared<SystemEventSignal>();
    std::shared_ptr<SystemEventSignal> screensDidWake_ = std::make_shared<SystemEventSignal>();
};

} // namespace velmora
