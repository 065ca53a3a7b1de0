#include "Core/LockEngine/LockEngine.hpp"

#include "Core/LockEngine/AppStateProtectedAppChecker.hpp"
#include "Core/LockEngine/LockEngineSupport.hpp"
#include "Platform/Platform.hpp"
#include "Services/AuthManager.hpp"

#include <algorithm>

namespace velmora {

using lockengine::boolText;

std::shared_ptr<LockEngine> LockEngine::shared() {
    static const std::shared_ptr<LockEngine> instance = [] {
        const Platform& platform = installedPlatform();
        requirePlatformServices(platform.workspace && platform.timeProvider &&
                                    platform.monotonicClock && platform.logger &&
                                    platform.windowList && platform.screens &&
                                    platform.coverWindows && platform.hostApplication,
                                "the lock engine");
        return create(collaborators(platform, AppState::shared(), AuthManager::shared(),
                                    OverlayWindowController::shared()));
    }();
    return instance;
}

LockEngine::Collaborators
LockEngine::collaborators(const Platform& platform, std::shared_ptr<AppState> appState,
                          std::shared_ptr<AuthenticationProviding> authManager,
                          std::shared_ptr<OverlayWindowController> overlayController) {
    return {
        .appState = std::move(appState),
        .frontmostMonitor = FrontmostAppMonitor::create(platform.workspace),
        .authManager = std::move(authManager),
        .overlayController = std::move(overlayController),
        .coverWindows = platform.coverWindows,
        .runLoop = platform.runLoop,
        .timeProvider = platform.timeProvider,
        .monotonicClock = platform.monotonicClock,
        .logger = platform.logger,
        .workspace = platform.workspace,
        .windowList = platform.windowList,
        .screens = platform.screens,
        .eventTaps = platform.eventTaps,
        .hostApplication = platform.hostApplication,
        .distributedNotifications = platform.distributedNotifications,
        .systemAgents = platform.systemAgents,
    };
}

std::shared_ptr<LockEngine> LockEngine::create(Collaborators collaborators) {
    IdleTracker::Collaborators idle{
        collaborators.appState,       collaborators.runLoop,         collaborators.timeProvider,
        collaborators.monotonicClock, collaborators.logger,          collaborators.workspace,
        collaborators.eventTaps,      collaborators.hostApplication, collaborators.systemAgents};
    auto engine = std::make_shared<LockEngine>(Passkey{}, std::move(collaborators));
    const std::weak_ptr<LockEngine> weak = engine;
    engine->idle_ = IdleTracker::create(
        std::move(idle),
        ifAlive(weak, [](LockEngine& self,
                         const std::string& bundleId) { return self.holdsValidUnlock(bundleId); }),
        ifAlive(weak, &LockEngine::handleAppIdleTimeout));
    engine->setupCoverBindings();
    engine->setupBindings();
    engine->logger_->info("LockEngine initialized");
    return engine;
}

LockEngine::LockEngine(Passkey, Collaborators collaborators)
    : appState_(std::move(collaborators.appState)),
      frontmostMonitor_(std::move(collaborators.frontmostMonitor)),
      runLoop_(std::move(collaborators.runLoop)),
      timeProvider_(std::move(collaborators.timeProvider)),
      logger_(std::move(collaborators.logger)), workspace_(std::move(collaborators.workspace)),
      windowList_(std::move(collaborators.windowList)), screens_(std::move(collaborators.screens)),
      hostApplication_(std::move(collaborators.hostApplication)),
      distributedNotifications_(std::move(collaborators.distributedNotifications)),
      systemAgents_(std::move(collaborators.systemAgents)),
      stateMachine_(LockConfiguration{Seconds{86400}, Seconds{0.3}}, timeProvider_,
                    std::make_shared<AppStateProtectedAppChecker>(appState_)),
      authManager_(std::move(collaborators.authManager)),
      overlayController_(std::move(collaborators.overlayController)),
      coverWindows_(std::move(collaborators.coverWindows)) {}

LockEngine::~LockEngine() {
    unlockExpiry_.invalidate();
    // The four registrations and the subscriptions end with their handles.
}

void LockEngine::setupBindings() {
    cancellables_.push_back(frontmostMonitor_->currentAppInfoPublisher(
        onMainQueue<FrontmostAppInfo>([](LockEngine& engine, const FrontmostAppInfo& info) {
            engine.handleFrontmostAppChange(info);
        })));
    cancellables_.push_back(
        stateMachine_.transitionPublisher().connect(onMainQueue<LockTransitionResult>(
            [](LockEngine& engine, const LockTransitionResult& result) {
                engine.handleStateTransition(result);
            })));
    cancellables_.push_back(stateMachine_.subscribeToState(onMainQueue<LockState>(
        [](LockEngine& engine, const LockState& state) { engine.currentState_.set(state); })));
}

void LockEngine::start() {
    logger_->info("LockEngine.start() called");
    if (!frontmostMonitor_->isMonitoring()) {
        frontmostMonitor_->startMonitoring();
    }
    idle_->startInputMonitoring();
    coverKeeper_->start();
    logger_->info("LockEngine started");
}

void LockEngine::stop() {
    logger_->info("LockEngine.stop() called");
    frontmostMonitor_->stopMonitoring();
    idle_->stopInputMonitoring();
    idle_->clear();
    hideAllOverlays();
    coverKeeper_->stop();
    stateMachine_.reset();
    logger_->info("LockEngine stopped");
}

void LockEngine::pause() {
    logger_->info("LockEngine.pause() called");
    frontmostMonitor_->stopMonitoring();
    idle_->stopInputMonitoring();
    idle_->stopGlobalIdleTimer();
    logger_->info("LockEngine paused");
}

void LockEngine::resume() {
    logger_->info("LockEngine.resume() called");
    if (!frontmostMonitor_->isMonitoring()) {
        frontmostMonitor_->startMonitoring();
    }
    idle_->startInputMonitoring();
    if (!idle_->lastActiveTimePerApp().empty()) {
        idle_->startGlobalIdleTimer();
    }
    logger_->info("LockEngine resumed");
}

bool LockEngine::isAppUnlocked(const std::string& bundleId) const {
    // Tracking alone is not an unlock: an unlock past its expiry no longer counts.
    return idle_->lastActiveTimePerApp().contains(bundleId) && !idle_->isIdleLocked(bundleId) &&
           holdsValidUnlock(bundleId);
}

bool LockEngine::holdsValidUnlock(const std::string& bundleId) const {
    const TimePoint now = timeProvider_->now();
    const LockState& state = stateMachine_.currentState();
    if (state.isUnlocked() && state.target().bundleId == bundleId &&
        (!state.expiresAt() || now < *state.expiresAt())) {
        return true;
    }
    const auto& remembered = stateMachine_.unlockedApps();
    return std::any_of(remembered.begin(), remembered.end(), [&](const auto& entry) {
        return entry.first.bundleId == bundleId && now < entry.second;
    });
}

std::vector<ProcessId> LockEngine::unlockedProcesses(const std::string& bundleId) const {
    std::vector<ProcessId> pids;
    const LockState& state = stateMachine_.currentState();
    if (!state.isIdle() && state.target().bundleId == bundleId) {
        pids.push_back(state.target().pid);
    }
    for (const auto& [key, expiry] : stateMachine_.unlockedApps()) {
        if (key.bundleId == bundleId &&
            std::find(pids.begin(), pids.end(), key.pid) == pids.end()) {
            pids.push_back(key.pid);
        }
    }
    std::erase_if(pids, [&](ProcessId pid) {
        const auto app = workspace_->runningApplication(pid);
        return !app || app->bundleIdentifier != bundleId;
    });
    return pids;
}

std::vector<std::string> LockEngine::unlockedProtectedApps() const {
    std::vector<std::string> names;
    for (const auto& [bundleId, lastActive] : idle_->lastActiveTimePerApp()) {
        if (idle_->isIdleLocked(bundleId) || !holdsValidUnlock(bundleId)) {
            continue;
        }
        if (auto app = appState_->protectedApp(bundleId)) {
            names.push_back(std::move(app->displayName));
        }
    }
    return names;
}

void LockEngine::hideAllOverlays() {
    logger_->debug("hideAllOverlays called");
    overlayController_->hideAll();
    coveredTargets_.clear();
    cardWindowFrames_.clear();
    logger_->debug("hideAllOverlays completed");
}

void LockEngine::hideOverlay(const std::string& bundleId) {
    logger_->debug("hideOverlay called for " + bundleId);
    overlayController_->hide(bundleId);
    coveredTargets_.erase(bundleId);
    cardWindowFrames_.erase(bundleId);
    logger_->debug("hideOverlay completed for " + bundleId);
}

void LockEngine::handleFrontmostAppChange(const FrontmostAppInfo& info) {
    const std::string& bundleId = info.bundleIdentifier;
    logger_->debug("Frontmost app changed: " + info.appName + " (" + bundleId +
                   ") PID=" + std::to_string(info.processIdentifier));
    if (systemAgents_.isFileManager(bundleId) && hasOpenOrSavePanel()) {
        logger_->debug("Ignoring Finder - Velmora has an open panel (file picker)");
        return;
    }
    if (isOwnBundleId(bundleId)) {
        logger_->debug("Ignoring Velmora frontmost - menu bar or settings window active");
        return;
    }
    const bool isProtected = appState_->isProtected(bundleId);
    logger_->debug(std::string("Is protected: ") + boolText(isProtected));
    if (isProtected) {
        handleProtectedFrontmost(info, LogOperation::current());
    } else {
        handleNonProtectedFrontmost(info, LogOperation::current());
    }
}

void LockEngine::handleNonProtectedFrontmost(const FrontmostAppInfo& info,
                                             const LogOperation& operation) {
    const std::string& bundleId = info.bundleIdentifier;
    const bool isSystemUI = systemAgents_.isAgent(bundleId);
    const bool isSelf = isOwnBundleId(bundleId);
    const bool isFinder = systemAgents_.isFileManager(bundleId);
    logger_->debug("Non-protected app frontmost: " + bundleId + " (system UI: " +
                       boolText(isSystemUI) + ", Brevane: " + boolText(isSelf) + ")",
                   operation);
    if (!isSystemUI && !isSelf && !isFinder) {
        const auto app = workspace_->runningApplication(info.processIdentifier);
        lastNonProtectedApp_ =
            PreviousApp{bundleId, info.processIdentifier, app ? app->bundleLocation : std::nullopt};
    }
    const LockState& state = currentState_.get();
    if (state.isUnlocked()) {
        logger_->debug("Switched away from unlocked app to non-protected app - idle timer will "
                       "handle locking",
                       operation);
        return;
    }
    if (state.isLocked()) {
        logger_->debug(
            "Switched to non-protected app while locked - keeping overlay visible on locked app",
            operation);
        stateMachine_.process(LockEvent::nonProtectedAppActivated());
    }
}

void LockEngine::handleProtectedFrontmost(const FrontmostAppInfo& info,
                                          const LogOperation& operation) {
    const std::string& bundleId = info.bundleIdentifier;
    const std::string pidText = std::to_string(info.processIdentifier);
    if (idle_->isIdleLocked(bundleId)) {
        logger_->info("Idle-locked app became frontmost - clearing idle-lock and requiring auth: " +
                          bundleId,
                      operation);
    }
    idle_->markFrontmost(bundleId);
    currentLockedBundleId_.set(bundleId);
    logger_->debug("Protected app frontmost: " + bundleId + " - tracking for activity", operation);
    logger_->info("PROTECTED APP FRONTMOST - bundleId: " + bundleId + " PID=" + pidText, operation);

    logger_->debug("Current tracking state: " + idle_->describeTracking(bundleId), operation);

    logger_->debug("Creating LockedTarget and sending to state machine", operation);
    logger_->info("BEFORE state machine: currentState=" + toString(stateMachine_.currentState()),
                  operation);
    const LockTransitionResult result = stateMachine_.process(
        LockEvent::frontmostAppChanged({bundleId, info.processIdentifier, info.appName}));
    logger_->info("AFTER state machine: newState=" + toString(result.newState) +
                      ", shouldRequestAuth=" + boolText(result.shouldRequestAuth) +
                      ", reason=" + toString(result.reason),
                  operation);
    if (result.shouldRequestAuth) {
        logger_->debug("Will show overlay - authentication required (shouldRequestAuth=true)",
                       operation);
    } else {
        logger_->debug("Not showing overlay - user already authenticated (shouldRequestAuth=false)",
                       operation);
    }
}

void LockEngine::handleStateTransition(const LockTransitionResult& result) {
    logger_->info("handleStateTransition ENTER: newState=" + toString(result.newState) +
                  ", shouldRequestAuth=" + boolText(result.shouldRequestAuth) +
                  ", reason=" + toString(result.reason));
    const LockState& state = result.newState;
    switch (state.kind()) {
    case LockState::Kind::locked:
        logger_->info(std::string("handleStateTransition: LOCKED - shouldRequestAuth=") +
                      boolText(result.shouldRequestAuth));
        if (!result.shouldRequestAuth) {
            logger_->info("handleStateTransition: NOT showing overlay (shouldRequestAuth=false)");
        } else {
            logger_->info("handleStateTransition: showing overlay for " + state.target().appName);
            showOverlayForTarget(state.target());
        }
        break;
    case LockState::Kind::unlocked:
        logger_->debug("handleStateTransition: unlocked - overlay handled in handleAuthSuccess");
        break;
    case LockState::Kind::idle:
        logger_->debug("handleStateTransition: idle - hiding ALL overlays and clearing idle state");
        hideAllOverlays();
        idle_->clear();
        break;
    }
    if (!result.shouldRequestAuth) {
        coverUncoveredFrontmost(result, LogOperation::current());
    }
    logger_->debug("handleStateTransition EXIT");
}

void LockEngine::coverUncoveredFrontmost(const LockTransitionResult& result,
                                         const LogOperation& operation) {
    // A locked application must never stay uncovered in front: the target coming back right
    // after Minimize (its activation swallowed by the debounce), or the application in front
    // relocked by sleep or screen lock (it is still in front when the displays wake).
    const LockState& state = result.newState;
    if (!state.isLocked()) {
        return;
    }
    const auto front = workspace_->frontmostApplication();
    const LockedTarget& target = state.target();
    if (!front || front->processIdentifier != target.pid ||
        front->bundleIdentifier != target.bundleId) {
        return;
    }
    // Only once the engine's own state has caught up: the direct run after a system event
    // comes before it, and the overlay placement would give up on a state not yet locked.
    if (currentState_.get() == state && !isStillCovering(target)) {
        logger_->info("handleStateTransition: locked app is frontmost without its overlay - "
                      "showing overlay for " +
                          target.appName,
                      operation);
        showOverlayForTarget(target);
    }
}

void LockEngine::coverFrontmostIfLocked(ProcessId ended, const LogOperation& operation) {
    // After the target's own process ended and the machine was reset, another process of a
    // protected application may still be in front; it is looked at afresh.
    const auto front = workspace_->frontmostApplication();
    if (!front || front->processIdentifier == ended || !front->bundleIdentifier ||
        !appState_->isProtected(*front->bundleIdentifier)) {
        return;
    }
    const FrontmostAppInfo info{*front->bundleIdentifier, front->processIdentifier,
                                front->localizedName.value_or(*front->bundleIdentifier)};
    logger_->info("Protected app " + info.bundleIdentifier +
                      " PID=" + std::to_string(info.processIdentifier) +
                      " is still frontmost - checking it again",
                  operation);
    handleFrontmostAppChange(info);
}

bool LockEngine::isStillCovering(const LockedTarget& target) const {
    const auto covered = coveredTargets_.find(target.bundleId);
    return covered != coveredTargets_.end() && covered->second.pid == target.pid &&
           overlayController_->isOverlayVisible(target.bundleId);
}

std::optional<RunningApplication>
LockEngine::firstRunningApplication(const std::string& bundleId) const {
    for (auto& app : workspace_->runningApplications()) {
        if (app.bundleIdentifier == bundleId) {
            return std::move(app);
        }
    }
    return std::nullopt;
}

std::optional<std::string> LockEngine::frontmostBundleId() const {
    const auto front = workspace_->frontmostApplication();
    return front ? front->bundleIdentifier : std::nullopt;
}

bool LockEngine::isOwnBundleId(const std::optional<std::string>& bundleId) const {
    return bundleId == hostApplication_->bundleIdentifier();
}

bool LockEngine::isSelfFrontmost() const {
    return isOwnBundleId(frontmostBundleId());
}

bool LockEngine::hasOpenOrSavePanel() const {
    const auto windows = hostApplication_->windows();
    return std::any_of(windows.begin(), windows.end(), [](const AppWindow& window) {
        return window.kind == AppWindowKind::openPanel || window.kind == AppWindowKind::savePanel;
    });
}

} // namespace velmora
