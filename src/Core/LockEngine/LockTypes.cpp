#include "Core/LockEngine/LockTypes.hpp"

#include <array>
#include <chrono>
#include <cstdio>
#include <ostream>

namespace velmora {
namespace {

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            std::array<char, 5> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
            out += escaped.data();
        } else {
            out += c;
        }
    }
    out += '"';
}

void appendTarget(std::string& out, const LockedTarget& target) {
    out += target.bundleId;
    out += " pid=";
    out += std::to_string(target.pid);
    out += ' ';
    appendQuoted(out, target.appName);
}

// ISO 8601 in UTC with milliseconds, e.g. 2025-01-02T00:00:00.000Z.
std::string isoTimestamp(TimePoint time) {
    using namespace std::chrono;
    const auto millis = floor<milliseconds>(time);
    const auto day = floor<days>(millis);
    const year_month_day date{day};
    const hh_mm_ss clock{millis - day};
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(clock.hours().count()),
                  static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()),
                  static_cast<int>(clock.subseconds().count()));
    return text.data();
}

} // namespace

std::string toString(const LockedTarget& target) {
    std::string out;
    appendTarget(out, target);
    return out;
}

std::string toString(const LockState& state) {
    switch (state.kind()) {
    case LockState::Kind::idle:
        return "idle";
    case LockState::Kind::locked: {
        std::string out = "locked(";
        appendTarget(out, state.target());
        out += ')';
        return out;
    }
    case LockState::Kind::unlocked: {
        std::string out = "unlocked(";
        appendTarget(out, state.target());
        out += " until ";
        out += state.expiresAt() ? isoTimestamp(*state.expiresAt()) : "forever";
        out += ')';
        return out;
    }
    }
    return "invalid";
}

std::string_view toString(TransitionReason reason) {
    switch (reason) {
    case TransitionReason::protectedAppActivated:
        return "protectedAppActivated";
    case TransitionReason::appSwitched:
        return "appSwitched";
    case TransitionReason::unlockGranted:
        return "unlockGranted";
    case TransitionReason::unlockDenied:
        return "unlockDenied";
    case TransitionReason::idleTimeout:
        return "idleTimeout";
    case TransitionReason::manualLock:
        return "manualLock";
    case TransitionReason::systemSleep:
        return "systemSleep";
    case TransitionReason::screenLocked:
        return "screenLocked";
    case TransitionReason::debounced:
        return "debounced";
    case TransitionReason::noChange:
        return "noChange";
    case TransitionReason::unlockExpired:
        return "unlockExpired";
    case TransitionReason::targetMismatch:
        return "targetMismatch";
    }
    return "invalid";
}

std::string toString(const std::optional<TransitionReason>& reason) {
    return reason ? std::string(toString(*reason)) : "none";
}

std::string toString(const LockTransitionResult& result) {
    std::string out = toString(result.newState);
    out += result.shouldRequestAuth ? " auth=true reason=" : " auth=false reason=";
    out += toString(result.reason);
    return out;
}

std::ostream& operator<<(std::ostream& out, const LockedTarget& target) {
    return out << toString(target);
}

std::ostream& operator<<(std::ostream& out, const LockState& state) {
    return out << toString(state);
}

std::ostream& operator<<(std::ostream& out, TransitionReason reason) {
    return out << toString(reason);
}

std::ostream& operator<<(std::ostream& out, const LockTransitionResult& result) {
    return out << toString(result);
}

} // namespace velmora
