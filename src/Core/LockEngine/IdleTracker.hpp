#pragma once

#include "Models/AppState.hpp"
#include "Platform/EventTap.hpp"
#include "Platform/HostApplication.hpp"
#include "Platform/SystemAgents.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Support/Logging.hpp"
#include "Support/MonotonicClock.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

namespace velmora {

/// When each unlocked protected application was last in use, from the listen-only input tap
/// (key presses and clicks, at most twice a second), from the application in front and from
/// the program's own windows in front; once a second it relocks, through `timedOut`, an
/// application unused for its idle limit.
///
///     auto idle = IdleTracker::create(collaborators, holdsUnlock, timedOut);
///     idle->startInputMonitoring();
///     idle->markUnlocked("com.apple.Notes");   // tracked from now; the idle timer runs
///     idle->clear();                           // everything relocked at once
///
/// Main thread only, except the tap's callback, which touches nothing but the throttle
/// timestamp under `activityThrottleLock_`. Deferred steps hold the tracker weakly.
class IdleTracker final : public std::enable_shared_from_this<IdleTracker> {
    struct Passkey {};

public:
    /// Whether input to an application not tracked yet may start tracking it.
    using HoldsUnlock = std::function<bool(const std::string& bundleId)>;
    /// An application unused for its idle limit.
    using TimedOut = std::function<void(const std::string& bundleId)>;

    struct Collaborators {
        std::shared_ptr<AppState> appState;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<TimeProviding> timeProvider;
        std::shared_ptr<MonotonicClock> monotonicClock;
        std::shared_ptr<Logging> logger;
        std::shared_ptr<WorkspaceProviding> workspace;
        /// Null runs without an input tap, as without the permission.
        std::shared_ptr<EventTapProviding> eventTaps;
        std::shared_ptr<HostApplication> hostApplication;
        SystemAgents systemAgents;
    };

    static std::shared_ptr<IdleTracker> create(Collaborators collaborators, HoldsUnlock holdsUnlock,
                                               TimedOut timedOut);
    IdleTracker(Passkey, Collaborators collaborators, HoldsUnlock holdsUnlock, TimedOut timedOut);
    ~IdleTracker();
    IdleTracker(const IdleTracker&) = delete;
    IdleTracker& operator=(const IdleTracker&) = delete;

    void startInputMonitoring();
    void stopInputMonitoring();
    void reenableEventTapIfNeeded();
    void recordInputActivity(std::int32_t pid);
    [[nodiscard]] std::optional<std::string> activityTargetBundleId() const;
    void startGlobalIdleTimer();
    void stopGlobalIdleTimer();
    void evaluateAllAppIdleStatus();

    /// Tracks the application as in use from now, and runs the idle timer.
    void markUnlocked(const std::string& bundleId);
    /// The application came to the front: input to the program's own windows counts for it
    /// from now on, and a relocked one is tracked again.
    void markFrontmost(const std::string& bundleId);
    /// Relocked by its idle time: input to it is no longer activity, and it keeps its last
    /// activity until it is unlocked or in front again.
    void markIdleLocked(const std::string& bundleId);
    /// Locked from the menu: relocked, and no longer tracked.
    void markLockedByHand(const std::string& bundleId);
    /// Its processes ended: nothing of it is kept.
    void forget(const std::string& bundleId);
    /// Stops the idle timer and forgets every application.
    void clear();

    [[nodiscard]] const std::unordered_map<std::string, TimePoint>& lastActiveTimePerApp() const {
        return lastActiveTimePerApp_;
    }
    [[nodiscard]] bool isIdleLocked(const std::string& bundleId) const;
    /// E.g. "hasActiveTime=true, isIdleLocked=none", for the log.
    [[nodiscard]] std::string describeTracking(const std::string& bundleId) const;
    [[nodiscard]] bool hasGlobalIdleTimer() const { return globalIdleTimer_.has_value(); }
    [[nodiscard]] bool hasInputEventTap() const { return inputEventTap_ != nullptr; }

private:
    void handleInputTapEvent(const InputEvent& event);
    [[nodiscard]] std::optional<std::string> frontmostBundleId() const;
    [[nodiscard]] bool isOwnBundleId(const std::optional<std::string>& bundleId) const;

    Collaborators c_;
    HoldsUnlock holdsUnlock_;
    TimedOut timedOut_;
    std::optional<TimerHandle> globalIdleTimer_;
    std::unordered_map<std::string, bool> isIdleLocked_;
    /// Attached to the main run loop for as long as it lives.
    std::unique_ptr<EventTap> inputEventTap_;
    TimePoint lastActivityUpdateTime_{};
    std::uint64_t lastActivityUpdateTimestamp_ = 0;
    std::mutex activityThrottleLock_;
    std::unordered_map<std::string, TimePoint> lastActiveTimePerApp_;
    std::optional<std::string> currentProtectedFrontmostBundleId_;
};

} // namespace velmora
