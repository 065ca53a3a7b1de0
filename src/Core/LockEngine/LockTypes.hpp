#pragma once

#include "Support/ProcessId.hpp"
#include "Support/Time.hpp"
#include "Support/TimeProviding.hpp"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// The protected application a lock decision is about.
struct LockedTarget {
    std::string bundleId;
    ProcessId pid = 0;
    std::string appName;

    friend bool operator==(const LockedTarget&, const LockedTarget&) = default;
};

/// What an unlock belongs to: one process of one application. The name is not part of it,
/// so a relaunched application (new pid) is locked again.
struct UnlockKey {
    std::string bundleId;
    ProcessId pid = 0;

    friend bool operator==(const UnlockKey&, const UnlockKey&) = default;
};

class LockState {
public:
    enum class Kind { idle, locked, unlocked };

    static LockState idle() { return LockState(Kind::idle, {}, std::nullopt); }
    static LockState locked(LockedTarget target) {
        return LockState(Kind::locked, std::move(target), std::nullopt);
    }
    /// An absent expiry is an unlock without end where it is read.
    static LockState unlocked(LockedTarget target, std::optional<TimePoint> expiresAt) {
        return LockState(Kind::unlocked, std::move(target), expiresAt);
    }

    [[nodiscard]] Kind kind() const { return kind_; }
    [[nodiscard]] bool isIdle() const { return kind_ == Kind::idle; }
    [[nodiscard]] bool isLocked() const { return kind_ == Kind::locked; }
    [[nodiscard]] bool isUnlocked() const { return kind_ == Kind::unlocked; }
    /// The target of `locked` and `unlocked`; empty for `idle`.
    [[nodiscard]] const LockedTarget& target() const { return target_; }
    /// The expiry of `unlocked`; absent otherwise.
    [[nodiscard]] const std::optional<TimePoint>& expiresAt() const { return expiresAt_; }

    friend bool operator==(const LockState&, const LockState&) = default;

private:
    LockState(Kind kind, LockedTarget target, std::optional<TimePoint> expiresAt)
        : kind_(kind), target_(std::move(target)), expiresAt_(expiresAt) {}

    Kind kind_;
    LockedTarget target_;
    std::optional<TimePoint> expiresAt_;
};

struct LockConfiguration {
    Seconds unlockDuration{86400.0};
    Seconds debounceInterval{0.3};

    friend bool operator==(const LockConfiguration&, const LockConfiguration&) = default;
};

enum class TransitionReason {
    protectedAppActivated,
    appSwitched,
    unlockGranted,
    unlockDenied,
    idleTimeout,
    manualLock,
    systemSleep,
    screenLocked,
    debounced,
    noChange,
    unlockExpired,
    // Part of the vocabulary; no transition of the state machine produces it.
    targetMismatch,
};

struct LockTransitionResult {
    LockState newState = LockState::idle();
    bool shouldRequestAuth = false;
    std::optional<TransitionReason> reason;

    friend bool operator==(const LockTransitionResult&, const LockTransitionResult&) = default;
};

class LockEvent {
public:
    enum class Kind {
        frontmostAppChanged,
        appIdleTimeout,
        nonProtectedAppActivated,
        unlockSucceeded,
        unlockFailed,
        manualLock,
        systemSleep,
        screenLocked,
    };

    static LockEvent frontmostAppChanged(LockedTarget target) {
        return LockEvent(Kind::frontmostAppChanged, std::move(target), {});
    }
    static LockEvent appIdleTimeout(std::string bundleId) {
        return LockEvent(Kind::appIdleTimeout, {}, std::move(bundleId));
    }
    static LockEvent nonProtectedAppActivated() {
        return LockEvent(Kind::nonProtectedAppActivated);
    }
    static LockEvent unlockSucceeded() { return LockEvent(Kind::unlockSucceeded); }
    static LockEvent unlockFailed() { return LockEvent(Kind::unlockFailed); }
    static LockEvent manualLock() { return LockEvent(Kind::manualLock); }
    static LockEvent systemSleep() { return LockEvent(Kind::systemSleep); }
    static LockEvent screenLocked() { return LockEvent(Kind::screenLocked); }

    [[nodiscard]] Kind kind() const { return kind_; }
    /// The application of `frontmostAppChanged`.
    [[nodiscard]] const LockedTarget& target() const { return target_; }
    /// The application of `appIdleTimeout`.
    [[nodiscard]] const std::string& bundleId() const { return bundleId_; }

private:
    explicit LockEvent(Kind kind, LockedTarget target = {}, std::string bundleId = {})
        : kind_(kind), target_(std::move(target)), bundleId_(std::move(bundleId)) {}

    Kind kind_;
    LockedTarget target_;
    std::string bundleId_;
};

// Textual forms for log lines, e.g. for states:
//     idle
//     locked(com.example.App pid=100 "Example")
//     unlocked(com.example.App pid=100 "Example" until 2025-01-02T00:00:00.000Z)
// Names are quoted with `"`, `\` and control characters escaped, so that no name can break a
// log line apart.
std::string toString(const LockedTarget& target);
std::string toString(const LockState& state);
std::string_view toString(TransitionReason reason);
/// "none" when absent.
std::string toString(const std::optional<TransitionReason>& reason);
/// e.g. `locked(com.example.App pid=100 "Example") auth=true reason=protectedAppActivated`
std::string toString(const LockTransitionResult& result);

std::ostream& operator<<(std::ostream& out, const LockedTarget& target);
std::ostream& operator<<(std::ostream& out, const LockState& state);
std::ostream& operator<<(std::ostream& out, TransitionReason reason);
std::ostream& operator<<(std::ostream& out, const LockTransitionResult& result);

/// Answers whether an application is on the protected list.
class ProtectedAppChecking {
public:
    virtual ~ProtectedAppChecking() = default;
    [[nodiscard]] virtual bool isProtected(const std::string& bundleId) const = 0;
};

} // namespace velmora

template <> struct std::hash<velmora::UnlockKey> {
    std::size_t operator()(const velmora::UnlockKey& key) const noexcept {
        const std::size_t h = std::hash<std::string>{}(key.bundleId);
        return h ^ (std::hash<velmora::ProcessId>{}(key.pid) + 0x9e3779b97f4a7c15ULL + (h << 6) +
                    (h >> 2));
    }
};
