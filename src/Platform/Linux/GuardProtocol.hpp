#pragma once

#include "Platform/Linux/ApplicationIdentities.hpp"
#include "Support/ProcessId.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::guard {

/// What Velmora tells `velmora-guard`, the process that keeps protected applications out of
/// reach when Velmora dies. Standard library only: the guard builds this file into itself
/// without Qt.
///
///     write(channel, encodeGuardMessage(GuardMessage::watching({4211, 4302})));
///     std::optional<GuardMessage> message = decodeGuardMessage("watching 4211 4302");
///
/// One line each, ending in '\n', at least every kHeartbeatInterval from the main loop:
///
///     starting               alive, not covering anything yet
///     watching [<pid> ...]   alive and covering; the running protected processes
///     protects [<word> ...]  what names the protected applications' windows, each
///                            application as "app=<desktop ID>" followed by its
///                            "class=<WM_CLASS name>" and "exe=<program path>" words
///     quit                   the owner quit Velmora: the guard ends without restarting it
///
/// Values in words are percent-encoded (spaces, '%', '=' and control characters). Anything
/// else ending the channel (a crash, a kill, a hang past kHeartbeatTimeout) makes the guard
/// iconify every window of the last processes watched and of the protected applications,
/// and start Velmora again.
///
/// The guard answers each batch of lines it reads with kAliveLine, so that Velmora notices
/// a guard that has stopped; a guard older than that answer never gives it, and Velmora
/// replaces it. A guard ignores lines it does not know.
enum class GuardMessageKind { starting, watching, protects, quit };

struct GuardMessage {
    GuardMessageKind kind = GuardMessageKind::starting;
    std::vector<ProcessId> pids{};
    std::vector<ApplicationIdentities> applications{};

    static GuardMessage watching(std::vector<ProcessId> pids) {
        return {GuardMessageKind::watching, std::move(pids)};
    }
    static GuardMessage protecting(std::vector<ApplicationIdentities> applications) {
        return {GuardMessageKind::protects, {}, std::move(applications)};
    }

    friend bool operator==(const GuardMessage&, const GuardMessage&) = default;
};

inline constexpr std::chrono::milliseconds kHeartbeatInterval{500};
inline constexpr std::chrono::milliseconds kHeartbeatTimeout{2000};
/// The longest line, line break included.
inline constexpr std::size_t kMaxGuardLineSize = 65536;
/// The guard's answer.
inline constexpr std::string_view kAliveLine = "alive\n";
/// The channel's descriptor in a Velmora that the guard started, named by this variable.
inline constexpr int kChannelDescriptor = 3;
inline constexpr const char* kChannelVariable = "VELMORA_GUARD_FD";

/// The line for `message`, line break included; pids, and applications, that would not fit
/// are left out.
[[nodiscard]] std::string encodeGuardMessage(const GuardMessage& message);
/// `line` without its line break; nothing when it is not a message of the protocol.
[[nodiscard]] std::optional<GuardMessage> decodeGuardMessage(std::string_view line);

} // namespace velmora::guard
