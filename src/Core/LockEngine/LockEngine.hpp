#pragma once

#include "Core/LockEngine/CoverKeeper.hpp"
#include "Core/LockEngine/IdleTracker.hpp"
#include "Core/LockEngine/LockEngineLifecycle.hpp"
#include "Core/LockEngine/LockStateMachine.hpp"
#include "Core/Overlay/OverlayWindowController.hpp"
#include "Models/AppState.hpp"
#include "Models/FrontmostAppMonitor.hpp"
#include "Platform/CoverWindows.hpp"
#include "Platform/EventTap.hpp"
#include "Platform/HostApplication.hpp"
#include "Platform/NotificationCenter.hpp"
#include "Platform/Screens.hpp"
#include "Platform/SystemAgents.hpp"
#include "Platform/WindowList.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Support/Lifetime.hpp"
#include "Support/Logging.hpp"
#include "Support/MonotonicClock.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora {

struct Platform;

/// Turns what happens on the desktop into lock decisions and carries them out: a cover over
/// every window of every locked process and the lock card over the one in front, owner
/// authentication, idle relocking, relocking on sleep and screen lock, and the menu bar's
/// manual locks.
///
///     auto engine = LockEngine::shared();
///     engine->setupSystemEventObservers();
///     engine->start();                       // follows the frontmost application from now on
///     ...
///     if (engine->isAppUnlocked("com.example.notes")) { ... }
///     engine->lockAllNow();
///
/// Main thread only (the idle tracker's input tap aside). Reactions to the frontmost monitor and
/// to the state machine arrive on later turns of the main queue, so `currentState()` lags the
/// state machine until then. Every deferred step holds the engine weakly.
class LockEngine final : public LockEngineLifecycle,
                         public std::enable_shared_from_this<LockEngine> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<AppState> appState;
        /// The engine's own monitor, not the one `appState` keeps for the interface.
        std::shared_ptr<FrontmostAppMonitor> frontmostMonitor;
        std::shared_ptr<AuthenticationProviding> authManager;
        std::shared_ptr<OverlayWindowController> overlayController;
        std::shared_ptr<CoverWindowFactory> coverWindows;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<TimeProviding> timeProvider;
        std::shared_ptr<MonotonicClock> monotonicClock;
        std::shared_ptr<Logging> logger;
        std::shared_ptr<WorkspaceProviding> workspace;
        std::shared_ptr<WindowListProviding> windowList;
        std::shared_ptr<ScreenProviding> screens;
        /// Null runs the engine without an input tap, as without the permission.
        std::shared_ptr<EventTapProviding> eventTaps;
        std::shared_ptr<HostApplication> hostApplication;
        /// The session-wide centre; null leaves the screen-lock notification unobserved.
        std::shared_ptr<NotificationCenter> distributedNotifications;
        SystemAgents systemAgents;
    };

    /// The unprotected application to return to after hiding a protected one.
    struct PreviousApp {
        std::string bundleId;
        ProcessId pid = 0;
        std::optional<std::string> url;

        friend bool operator==(const PreviousApp&, const PreviousApp&) = default;
    };

    /// The process-wide engine over the installed platform and the shared app state,
    /// authentication manager and overlay controller.
    static std::shared_ptr<LockEngine> shared();
    /// The engine's collaborators from `platform`'s services, with the given neighbours and a
    /// new frontmost monitor of its own.
    static Collaborators collaborators(const Platform& platform, std::shared_ptr<AppState> appState,
                                       std::shared_ptr<AuthenticationProviding> authManager,
                                       std::shared_ptr<OverlayWindowController> overlayController);
    /// Builds the engine and its state machine and subscribes; starts nothing.
    static std::shared_ptr<LockEngine> create(Collaborators collaborators);
    LockEngine(Passkey, Collaborators collaborators);
    ~LockEngine() override;
    LockEngine(const LockEngine&) = delete;
    LockEngine& operator=(const LockEngine&) = delete;

    // Lifecycle, from the application shell.
    void start() override;
    void stop() override;
    void pause() override;
    void resume() override;
    void setupSystemEventObservers() override;

    // Menu bar.
    void lockAllNow();
    void lockApp(const std::string& bundleId);
    [[nodiscard]] bool isAppUnlocked(const std::string& bundleId) const;
    /// Display names of the tracked, not relocked, protected applications.
    [[nodiscard]] std::vector<std::string> unlockedProtectedApps() const;
    /// Whether the process belongs to a protected application and holds no unlock of its own.
    [[nodiscard]] bool isLockedProcess(ProcessId pid) const;
    /// While set, every process of a protected application is covered, unlocked or not: with
    /// no guard to hide them should this program end, nothing else would keep them out of
    /// reach.
    void setCoverEveryProtectedProcess(bool cover);

    [[nodiscard]] Observable<LockState>& currentState() { return currentState_; }
    [[nodiscard]] Observable<bool>& isAuthenticating() { return isAuthenticating_; }
    [[nodiscard]] Observable<std::optional<AuthError>>& lastAuthError() { return lastAuthError_; }
    [[nodiscard]] Observable<std::optional<std::string>>& currentLockedBundleId() {
        return currentLockedBundleId_;
    }

    // Reactions, normally reached through the subscriptions, the overlay and the timers.
    void handleFrontmostAppChange(const FrontmostAppInfo& info);
    void handleStateTransition(const LockTransitionResult& result);
    void showOverlayForTarget(const LockedTarget& target);
    void showOverlayWithRetry(const LockedTarget& target, int attempt, int maximum);
    /// The frontmost normal window of `pid`, in placement coordinates.
    [[nodiscard]] std::optional<Rect> getWindowFrame(ProcessId pid) const;
    void handleUnlockTapped(const LockedTarget& target);
    void handleAuthSuccess(const LockedTarget& target);
    void handleAuthFailure(const AuthError& error, const std::string& name);
    /// Minimize on the overlay covering process `pid` of `bundleId`.
    void handleCancelTapped(const std::string& bundleId, ProcessId pid);
    void minimizeApp(ProcessId pid, const std::string& bundleId);
    void activatePreviousAppSilently();
    void handleAppIdleTimeout(const std::string& bundleId);
    void handleSystemLockEvent(const LockEvent& event);
    void handleAppTerminated(const std::string& bundleId, ProcessId pid);
    void hideAllOverlays();
    void hideOverlay(const std::string& bundleId);

    // Read back by tests and diagnostics.
    [[nodiscard]] LockStateMachine& stateMachine() { return stateMachine_; }
    [[nodiscard]] IdleTracker& idleTracker() { return *idle_; }
    [[nodiscard]] const std::unordered_map<ProcessId, std::string>& pidToBundleId() const {
        return pidToBundleId_;
    }
    [[nodiscard]] const std::optional<PreviousApp>& lastNonProtectedApp() const {
        return lastNonProtectedApp_;
    }
    /// The process each visible overlay was shown for, by bundle identifier.
    [[nodiscard]] const std::unordered_map<std::string, LockedTarget>& coveredTargets() const {
        return coveredTargets_;
    }
    [[nodiscard]] const CoverKeeper& coverKeeper() const { return *coverKeeper_; }

private:
    void setupBindings();
    void handleNonProtectedFrontmost(const FrontmostAppInfo& info, const LogOperation& operation);
    void handleProtectedFrontmost(const FrontmostAppInfo& info, const LogOperation& operation);
    void coverUncoveredFrontmost(const LockTransitionResult& result, const LogOperation& operation);
    /// `ended` is the process whose end led here; it may still be reported in front.
    void coverFrontmostIfLocked(ProcessId ended, const LogOperation& operation);
    /// Keeps the covers in step with which processes are locked.
    void setupCoverBindings();
    /// Covers again what is locked now; and once more when the next unlock runs out.
    void refreshCovers();
    void showOverlay(const LockedTarget& target, Rect frame, const Screen& screen);
    /// Moves each card after the window it covers: when that window moved, or appeared after
    /// the card had to make do without it.
    void followCards(const std::vector<WindowListEntry>& windows);
    [[nodiscard]] bool isStillCovering(const LockedTarget& target) const;
    [[nodiscard]] std::optional<Screen> screenFor(const Rect& frame) const;
    /// Whether the process's windows are to be covered.
    [[nodiscard]] bool mustCover(ProcessId pid) const;
    /// Whether the process holds an unlock that has not run out.
    [[nodiscard]] bool holdsUnlock(const std::string& bundleId, ProcessId pid) const;
    /// Warns when a hidden process still shows windows once the window manager had its time:
    /// they stay covered.
    void verifyHidden(ProcessId pid, const std::string& bundleId);
    void authenticate(const LockedTarget& target, std::optional<std::uint64_t> startTime,
                      const LogOperation& operation);
    [[nodiscard]] bool isSameProcess(const LockedTarget& target,
                                     std::optional<std::uint64_t> startTime) const;
    void rememberUnlockOutsideCurrentTarget(const LockedTarget& target,
                                            const LogOperation& operation);
    /// The running processes of `bundleId` that hold an unlock (the current target's, or a
    /// remembered one), for hiding the ones that timed out.
    [[nodiscard]] std::vector<ProcessId> unlockedProcesses(const std::string& bundleId) const;
    /// Whether some process of `bundleId` holds an unlock that has not expired.
    [[nodiscard]] bool holdsValidUnlock(const std::string& bundleId) const;
    void handleTerminationNotification(const std::optional<RunningApplication>& app);
    [[nodiscard]] std::optional<RunningApplication>
    firstRunningApplication(const std::string& bundleId) const;
    [[nodiscard]] std::optional<std::string> frontmostBundleId() const;
    [[nodiscard]] bool isOwnBundleId(const std::optional<std::string>& bundleId) const;
    [[nodiscard]] bool isSelfFrontmost() const;
    [[nodiscard]] bool hasOpenOrSavePanel() const;
    /// The system prompts' agents and the file manager: never the application to return to.
    [[nodiscard]] bool isPromptAgentOrFileManager(std::string_view bundleId) const;
    template <class Step> void post(Step step);
    template <class Value, class Reaction> auto onMainQueue(Reaction reaction);

    // Observable by the interface.
    Observable<LockState> currentState_{LockState::idle()};
    Observable<bool> isAuthenticating_{false};
    Observable<std::optional<AuthError>> lastAuthError_;

    std::shared_ptr<AppState> appState_;
    std::shared_ptr<FrontmostAppMonitor> frontmostMonitor_;
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<TimeProviding> timeProvider_;
    std::shared_ptr<Logging> logger_;
    std::shared_ptr<WorkspaceProviding> workspace_;
    std::shared_ptr<WindowListProviding> windowList_;
    std::shared_ptr<ScreenProviding> screens_;
    std::shared_ptr<HostApplication> hostApplication_;
    std::shared_ptr<NotificationCenter> distributedNotifications_;
    SystemAgents systemAgents_;

    LockStateMachine stateMachine_;
    std::shared_ptr<AuthenticationProviding> authManager_;
    std::shared_ptr<OverlayWindowController> overlayController_;
    std::shared_ptr<CoverWindowFactory> coverWindows_;
    std::shared_ptr<IdleTracker> idle_;
    std::unordered_map<ProcessId, std::string> pidToBundleId_;
    std::unordered_map<std::string, LockedTarget> coveredTargets_;
    /// The window each card sits on, in placement coordinates; none for a card that had to make
    /// do without its window.
    std::unordered_map<std::string, Rect> cardWindowFrames_;
    std::shared_ptr<CoverKeeper> coverKeeper_;
    TimerHandle unlockExpiry_;
    bool coverEveryProtectedProcess_ = false;
    std::optional<PreviousApp> lastNonProtectedApp_;
    Observable<std::optional<std::string>> currentLockedBundleId_;
    std::vector<Subscription> cancellables_;
    std::optional<Subscription> systemSleepObserver_;
    std::optional<Subscription> screenSleepObserver_;
    std::optional<Subscription> screenLockObserver_;
    std::optional<Subscription> appTerminationObserver_;
    std::vector<Subscription> coverBindings_;
};

/// Runs `step(engine)` on a later turn of the main queue, if the engine is still there.
template <class Step> void LockEngine::post(Step step) {
    runLoop_->post(ifAlive(weak_from_this(), std::move(step)));
}

/// A subscriber that hands each value to `reaction(engine, value)` on a later turn of the main
/// queue, if the engine is still there.
template <class Value, class Reaction> auto LockEngine::onMainQueue(Reaction reaction) {
    return [weak = weak_from_this(), runLoop = runLoop_, reaction](const Value& value) {
        runLoop->post(ifAlive(
            weak, [value, reaction](LockEngine& self) { std::invoke(reaction, self, value); }));
    };
}

} // namespace velmora
