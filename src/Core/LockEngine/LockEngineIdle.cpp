#include "Core/LockEngine/LockEngine.hpp"
#include "Core/LockEngine/LockEngineSupport.hpp"

#include <algorithm>
#include <limits>
#include <string_view>

namespace velmora {

using lockengine::boolText;

namespace {

constexpr InputEventMask kInputEventMask = inputEventMaskBit(InputEventType::keyDown) |
                                           inputEventMaskBit(InputEventType::leftMouseDown) |
                                           inputEventMaskBit(InputEventType::rightMouseDown);
static_assert(kInputEventMask == 0x40A);

/// Input more often than this is not recorded again.
constexpr Seconds kActivityThrottle{0.5};
/// The same in the monotonic clock's unit, for the tap's thread.
constexpr auto kActivityThrottleNanoseconds = static_cast<std::uint64_t>(
    std::chrono::duration_cast<std::chrono::nanoseconds>(kActivityThrottle).count());
constexpr Seconds kReenableCheckDelay{0.1};
constexpr Seconds kIdleTimerInterval{1.0};
/// What an idle time-out of 0 minutes means.
constexpr std::int64_t kShortestIdleLimitSeconds = 10;
constexpr std::size_t kIdleLogNameLength = 20;

bool isTapDisabledNotification(InputEventType type) {
    return type == InputEventType::tapDisabledByTimeout ||
           type == InputEventType::tapDisabledByUserInput;
}

/// The idle limit of a time-out in minutes; stored values may be far out of range, so the
/// product saturates instead of overflowing.
std::int64_t idleLimitSeconds(std::int64_t minutes) {
    if (minutes == 0) {
        return kShortestIdleLimitSeconds;
    }
    constexpr std::int64_t kLargest = std::numeric_limits<std::int64_t>::max() / 60;
    constexpr std::int64_t kSmallest = std::numeric_limits<std::int64_t>::min() / 60;
    return std::clamp(minutes, kSmallest, kLargest) * 60;
}

std::string_view lastCharacters(std::string_view text, std::size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

} // namespace

void LockEngine::startInputMonitoring() {
    if (inputEventTap_) {
        logger_->debug("[EVENT TAP] Already running, skipping creation");
        return;
    }
    logger_->info("[EVENT TAP] Starting input monitoring...");
    if (eventTaps_) {
        // The tap never outlives the engine (it is released in `stopInputMonitoring` and the
        // destructor), so its callback may use `this`.
        inputEventTap_ = eventTaps_->createListenOnlyTap(
            kInputEventMask, [this, weak = weak_from_this()](const InputEvent& event) {
                handleInputTapEvent(weak, event);
            });
    }
    if (!inputEventTap_) {
        logger_->error("[EVENT TAP] FAILED TO CREATE - Input Monitoring permission may be missing");
        return;
    }
    logger_->info("[EVENT TAP] Created tap successfully: " + inputEventTap_->description());
    inputEventTap_->setEnabled(true);
    logger_->info(std::string("[EVENT TAP] Started, enabled=") +
                  boolText(inputEventTap_->isEnabled()));
}

void LockEngine::stopInputMonitoring() {
    if (inputEventTap_) {
        inputEventTap_->setEnabled(false);
    }
    inputEventTap_.reset();
}

void LockEngine::handleInputTapEvent(const std::weak_ptr<LockEngine>& weakSelf,
                                     const InputEvent& event) {
    // Sees every key press and click of the session: a clock read and a short lock for a
    // throttled event; no look-ups here, the rest runs on the main queue.
    if (isTapDisabledNotification(event.type)) {
        runLoop_->post(ifAlive(weakSelf, &LockEngine::reenableEventTapIfNeeded));
        return;
    }
    const std::uint64_t now = monotonicClock_->nanoseconds();
    {
        std::lock_guard lock(activityThrottleLock_);
        // 0 is "never".
        if (lastActivityUpdateTimestamp_ != 0) {
            // A clock reading below the last one starts the interval afresh rather than
            // letting the event through.
            if (now < lastActivityUpdateTimestamp_) {
                lastActivityUpdateTimestamp_ = now;
                return;
            }
            if (now - lastActivityUpdateTimestamp_ < kActivityThrottleNanoseconds) {
                return;
            }
        }
        lastActivityUpdateTimestamp_ = now;
    }
    runLoop_->post(ifAlive(
        weakSelf, [pid = event.targetPid](LockEngine& self) { self.recordInputActivity(pid); }));
}

void LockEngine::recordInputActivity(std::int32_t pid) {
    const TimePoint now = timeProvider_->now();
    const Seconds sinceLast = now - lastActivityUpdateTime_;
    // A clock set back starts the interval afresh: it neither lets events through unthrottled
    // nor stops the recording until the clock has caught up again.
    if (sinceLast < Seconds{0}) {
        lastActivityUpdateTime_ = now;
        return;
    }
    if (sinceLast < kActivityThrottle) {
        return;
    }
    std::optional<std::string> bundleId;
    if (pid != 0) {
        if (auto app = workspace_->runningApplication(pid)) {
            bundleId = std::move(app->bundleIdentifier);
        }
    }
    if (!bundleId) {
        bundleId = activityTargetBundleId();
    }
    if (!bundleId || !appState_->isProtected(*bundleId) || isIdleLockedApp(*bundleId)) {
        return;
    }
    // Input to a locked application is not the use of an unlocked one: it must not start
    // tracking it, which would show it as unlocked.
    if (!lastActiveTimePerApp_.contains(*bundleId) && !holdsValidUnlock(*bundleId)) {
        return;
    }
    lastActivityUpdateTime_ = now;
    lastActiveTimePerApp_[*bundleId] = now;
    currentProtectedFrontmostBundleId_ = *bundleId;
}

std::optional<std::string> LockEngine::activityTargetBundleId() const {
    auto front = frontmostBundleId();
    if (!front) {
        return std::nullopt;
    }
    if (appState_->isProtected(*front)) {
        return front;
    }
    // Input to the program's panel or to a system agent counts for the protected application
    // last in use.
    if (isOwnBundleId(front) || systemAgents_.isAgent(*front)) {
        return currentProtectedFrontmostBundleId_;
    }
    return std::nullopt;
}

void LockEngine::reenableEventTapIfNeeded() {
    if (!inputEventTap_) {
        logger_->warn("[EVENT TAP] No tap exists, recreating...");
        stopInputMonitoring();
        startInputMonitoring();
        return;
    }
    if (inputEventTap_->isEnabled()) {
        logger_->debug("[EVENT TAP] Tap already enabled");
        return;
    }
    logger_->warn("[EVENT TAP] Tap disabled, attempting re-enable...");
    inputEventTap_->setEnabled(true);
    runLoop_->after(kReenableCheckDelay, ifAlive(weak_from_this(), [](LockEngine& self) {
                        if (!self.inputEventTap_) {
                            return;
                        }
                        if (self.inputEventTap_->isEnabled()) {
                            self.logger_->info("[EVENT TAP] Re-enable succeeded");
                            return;
                        }
                        self.logger_->error("[EVENT TAP] Re-enable failed, recreating tap...");
                        self.stopInputMonitoring();
                        self.startInputMonitoring();
                    }));
}

void LockEngine::startGlobalIdleTimer() {
    if (globalIdleTimer_) {
        return;
    }
    logger_->info("Starting global idle timer");
    globalIdleTimer_ = runLoop_->every(
        kIdleTimerInterval, ifAlive(weak_from_this(), &LockEngine::evaluateAllAppIdleStatus));
}

void LockEngine::evaluateAllAppIdleStatus() {
    const TimePoint now = timeProvider_->now();
    const std::optional<std::string> front = frontmostBundleId();
    const auto tapWorks = [this] { return inputEventTap_ && inputEventTap_->isEnabled(); };

    bool refreshFrontmost = false;
    if (inputEventTap_ && !inputEventTap_->isEnabled()) {
        logger_->warn("[EVENT TAP] Found disabled during idle check, recreating...");
        stopInputMonitoring();
        startInputMonitoring();
        refreshFrontmost = !tapWorks() && front.has_value();
    } else if (!inputEventTap_) {
        if (!lastActiveTimePerApp_.empty()) {
            logger_->warn("[EVENT TAP] No tap but tracking apps, recreating...");
            startInputMonitoring();
        }
        refreshFrontmost = !tapWorks() && front.has_value();
    }
    if (refreshFrontmost && appState_->isProtected(*front) && !isIdleLockedApp(*front)) {
        if (const auto entry = lastActiveTimePerApp_.find(*front);
            entry != lastActiveTimePerApp_.end()) {
            entry->second = now;
            logger_->debug(
                "[FALLBACK] Event tap disabled, refreshing activity for frontmost app: " + *front);
        }
    }

    const bool selfFrontmost = isOwnBundleId(front);

    // Settings by bundle identifier, first entry winning, for one pass over the tracked apps.
    std::unordered_map<std::string_view, const ProtectedApp*> settings;
    for (const ProtectedApp& app : appState_->protectedApps().get()) {
        settings.emplace(app.bundleIdentifier, &app);
    }
    struct Tracked {
        std::string bundleId;
        TimePoint lastActive;
        bool autoLockEnabled;
        std::int64_t idleTimeoutMinutes;
    };
    std::vector<Tracked> snapshot;
    snapshot.reserve(lastActiveTimePerApp_.size());
    for (const auto& [bundleId, lastActive] : lastActiveTimePerApp_) {
        const auto found = settings.find(bundleId);
        if (found == settings.end()) {
            continue;
        }
        snapshot.push_back({bundleId, lastActive, found->second->autoLockEnabled,
                            found->second->idleTimeoutMinutes});
    }

    for (const Tracked& app : snapshot) {
        if (isIdleLockedApp(app.bundleId) || !app.autoLockEnabled) {
            continue;
        }
        if ((front && app.bundleId == *front) || selfFrontmost) {
            lastActiveTimePerApp_[app.bundleId] = now;
            continue;
        }
        const double elapsed = Seconds(now - app.lastActive).count();
        const auto seconds = static_cast<std::int64_t>(elapsed);
        const std::int64_t limit = idleLimitSeconds(app.idleTimeoutMinutes);
        if (elapsed > 0 && seconds % 10 == 0) {
            logger_->debug("Idle[" + std::string(lastCharacters(app.bundleId, kIdleLogNameLength)) +
                           "]: " + std::to_string(seconds) + "s/" + std::to_string(limit) + "s");
        }
        if (elapsed >= static_cast<double>(limit)) {
            logger_->info("IDLE TIMEOUT for " + app.bundleId + " after " + std::to_string(seconds) +
                          "s");
            handleAppIdleTimeout(app.bundleId);
        }
    }
}

void LockEngine::handleAppIdleTimeout(const std::string& bundleId) {
    logger_->info("App " + bundleId + " idle timeout");
    isIdleLocked_[bundleId] = true;
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
