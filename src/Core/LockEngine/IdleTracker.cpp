#include "Core/LockEngine/IdleTracker.hpp"

#include "Core/LockEngine/LockEngineSupport.hpp"
#include "Support/Lifetime.hpp"

#include <algorithm>
#include <chrono>
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

std::shared_ptr<IdleTracker> IdleTracker::create(Collaborators collaborators,
                                                 HoldsUnlock holdsUnlock, TimedOut timedOut) {
    return std::make_shared<IdleTracker>(Passkey{}, std::move(collaborators),
                                         std::move(holdsUnlock), std::move(timedOut));
}

IdleTracker::IdleTracker(Passkey, Collaborators collaborators, HoldsUnlock holdsUnlock,
                         TimedOut timedOut)
    : c_(std::move(collaborators)), holdsUnlock_(std::move(holdsUnlock)),
      timedOut_(std::move(timedOut)) {}

IdleTracker::~IdleTracker() {
    stopInputMonitoring();
    stopGlobalIdleTimer();
}

void IdleTracker::startInputMonitoring() {
    if (inputEventTap_) {
        c_.logger->debug("[EVENT TAP] Already running, skipping creation");
        return;
    }
    c_.logger->info("[EVENT TAP] Starting input monitoring...");
    if (c_.eventTaps) {
        // The tap never outlives the tracker (it is released in `stopInputMonitoring` and the
        // destructor), so its callback may use `this`.
        inputEventTap_ = c_.eventTaps->createListenOnlyTap(
            kInputEventMask, [this](const InputEvent& event) { handleInputTapEvent(event); });
    }
    if (!inputEventTap_) {
        c_.logger->error(
            "[EVENT TAP] FAILED TO CREATE - Input Monitoring permission may be missing");
        return;
    }
    c_.logger->info("[EVENT TAP] Created tap successfully: " + inputEventTap_->description());
    inputEventTap_->setEnabled(true);
    c_.logger->info(std::string("[EVENT TAP] Started, enabled=") +
                    boolText(inputEventTap_->isEnabled()));
}

void IdleTracker::stopInputMonitoring() {
    if (inputEventTap_) {
        inputEventTap_->setEnabled(false);
    }
    inputEventTap_.reset();
}

void IdleTracker::handleInputTapEvent(const InputEvent& event) {
    // Sees every key press and click of the session: a clock read and a short lock for a
    // throttled event; no look-ups here, the rest runs on the main queue.
    if (isTapDisabledNotification(event.type)) {
        c_.runLoop->post(ifAlive(weak_from_this(), &IdleTracker::reenableEventTapIfNeeded));
        return;
    }
    const std::uint64_t now = c_.monotonicClock->nanoseconds();
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
            if (Seconds(std::chrono::nanoseconds(now - lastActivityUpdateTimestamp_)) <
                kActivityThrottle) {
                return;
            }
        }
        lastActivityUpdateTimestamp_ = now;
    }
    c_.runLoop->post(ifAlive(weak_from_this(), [pid = event.targetPid](IdleTracker& self) {
        self.recordInputActivity(pid);
    }));
}

void IdleTracker::recordInputActivity(std::int32_t pid) {
    const TimePoint now = c_.timeProvider->now();
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
        if (auto app = c_.workspace->runningApplication(pid)) {
            bundleId = std::move(app->bundleIdentifier);
        }
    }
    if (!bundleId) {
        bundleId = activityTargetBundleId();
    }
    if (!bundleId || !c_.appState->isProtected(*bundleId) || isIdleLocked(*bundleId)) {
        return;
    }
    // Input to a locked application is not the use of an unlocked one: it must not start
    // tracking it, which would show it as unlocked.
    if (!lastActiveTimePerApp_.contains(*bundleId) && !holdsUnlock_(*bundleId)) {
        return;
    }
    lastActivityUpdateTime_ = now;
    lastActiveTimePerApp_[*bundleId] = now;
    currentProtectedFrontmostBundleId_ = *bundleId;
}

std::optional<std::string> IdleTracker::activityTargetBundleId() const {
    auto front = frontmostBundleId();
    if (!front) {
        return std::nullopt;
    }
    if (c_.appState->isProtected(*front)) {
        return front;
    }
    // Input to the program's panel or to a system agent counts for the protected application
    // last in use.
    if (isOwnBundleId(front) || c_.systemAgents.isAgent(*front)) {
        return currentProtectedFrontmostBundleId_;
    }
    return std::nullopt;
}

void IdleTracker::reenableEventTapIfNeeded() {
    if (!inputEventTap_) {
        c_.logger->warn("[EVENT TAP] No tap exists, recreating...");
        stopInputMonitoring();
        startInputMonitoring();
        return;
    }
    if (inputEventTap_->isEnabled()) {
        c_.logger->debug("[EVENT TAP] Tap already enabled");
        return;
    }
    c_.logger->warn("[EVENT TAP] Tap disabled, attempting re-enable...");
    inputEventTap_->setEnabled(true);
    c_.runLoop->after(kReenableCheckDelay, ifAlive(weak_from_this(), [](IdleTracker& self) {
                          if (!self.inputEventTap_) {
                              return;
                          }
                          if (self.inputEventTap_->isEnabled()) {
                              self.c_.logger->info("[EVENT TAP] Re-enable succeeded");
                              return;
                          }
                          self.c_.logger->error("[EVENT TAP] Re-enable failed, recreating tap...");
                          self.stopInputMonitoring();
                          self.startInputMonitoring();
                      }));
}

void IdleTracker::startGlobalIdleTimer() {
    if (globalIdleTimer_) {
        return;
    }
    c_.logger->info("Starting global idle timer");
    globalIdleTimer_ = c_.runLoop->every(
        kIdleTimerInterval, ifAlive(weak_from_this(), &IdleTracker::evaluateAllAppIdleStatus));
}

void IdleTracker::evaluateAllAppIdleStatus() {
    const TimePoint now = c_.timeProvider->now();
    const std::optional<std::string> front = frontmostBundleId();
    const auto tapWorks = [this] { return inputEventTap_ && inputEventTap_->isEnabled(); };

    bool refreshFrontmost = false;
    if (inputEventTap_ && !inputEventTap_->isEnabled()) {
        c_.logger->warn("[EVENT TAP] Found disabled during idle check, recreating...");
        stopInputMonitoring();
        startInputMonitoring();
        refreshFrontmost = !tapWorks() && front.has_value();
    } else if (!inputEventTap_) {
        if (!lastActiveTimePerApp_.empty()) {
            c_.logger->warn("[EVENT TAP] No tap but tracking apps, recreating...");
            startInputMonitoring();
        }
        refreshFrontmost = !tapWorks() && front.has_value();
    }
    if (refreshFrontmost && c_.appState->isProtected(*front) && !isIdleLocked(*front)) {
        if (const auto entry = lastActiveTimePerApp_.find(*front);
            entry != lastActiveTimePerApp_.end()) {
            entry->second = now;
            c_.logger->debug(
                "[FALLBACK] Event tap disabled, refreshing activity for frontmost app: " + *front);
        }
    }

    const bool selfFrontmost = isOwnBundleId(front);

    // Settings by bundle identifier, first entry winning, for one pass over the tracked apps.
    std::unordered_map<std::string_view, const ProtectedApp*> settings;
    for (const ProtectedApp& app : c_.appState->protectedApps().get()) {
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
        if (isIdleLocked(app.bundleId) || !app.autoLockEnabled) {
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
            c_.logger->debug("Idle[" +
                             std::string(lastCharacters(app.bundleId, kIdleLogNameLength)) +
                             "]: " + std::to_string(seconds) + "s/" + std::to_string(limit) + "s");
        }
        if (elapsed >= static_cast<double>(limit)) {
            c_.logger->info("IDLE TIMEOUT for " + app.bundleId + " after " +
                            std::to_string(seconds) + "s");
            timedOut_(app.bundleId);
        }
    }
}

void IdleTracker::stopGlobalIdleTimer() {
    if (globalIdleTimer_) {
        globalIdleTimer_->invalidate();
        globalIdleTimer_.reset();
    }
}

void IdleTracker::markUnlocked(const std::string& bundleId) {
    isIdleLocked_[bundleId] = false;
    lastActiveTimePerApp_[bundleId] = c_.timeProvider->now();
    startGlobalIdleTimer();
}

void IdleTracker::markFrontmost(const std::string& bundleId) {
    if (isIdleLocked(bundleId)) {
        isIdleLocked_[bundleId] = false;
    }
    currentProtectedFrontmostBundleId_ = bundleId;
}

void IdleTracker::markIdleLocked(const std::string& bundleId) {
    isIdleLocked_[bundleId] = true;
}

void IdleTracker::markLockedByHand(const std::string& bundleId) {
    isIdleLocked_[bundleId] = true;
    lastActiveTimePerApp_.erase(bundleId);
}

void IdleTracker::forget(const std::string& bundleId) {
    lastActiveTimePerApp_.erase(bundleId);
    isIdleLocked_.erase(bundleId);
    if (currentProtectedFrontmostBundleId_ == bundleId) {
        currentProtectedFrontmostBundleId_.reset();
        c_.logger->debug("Cleared currentProtectedFrontmostBundleId");
    }
}

void IdleTracker::clear() {
    stopGlobalIdleTimer();
    lastActiveTimePerApp_.clear();
    isIdleLocked_.clear();
}

bool IdleTracker::isIdleLocked(const std::string& bundleId) const {
    const auto found = isIdleLocked_.find(bundleId);
    return found != isIdleLocked_.end() && found->second;
}

std::string IdleTracker::describeTracking(const std::string& bundleId) const {
    const auto idleLocked = isIdleLocked_.find(bundleId);
    return std::string("hasActiveTime=") + boolText(lastActiveTimePerApp_.contains(bundleId)) +
           ", isIdleLocked=" +
           (idleLocked == isIdleLocked_.end() ? "none" : boolText(idleLocked->second));
}

std::optional<std::string> IdleTracker::frontmostBundleId() const {
    const auto front = c_.workspace->frontmostApplication();
    return front ? front->bundleIdentifier : std::nullopt;
}

bool IdleTracker::isOwnBundleId(const std::optional<std::string>& bundleId) const {
    return bundleId == c_.hostApplication->bundleIdentifier();
}

} // namespace velmora
