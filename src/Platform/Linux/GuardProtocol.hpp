#pragma once

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
///     quit                   the owner quit Velmora: the guard ends without restarting it
///
/// Anything else ending the channel (a crash, a kill, a hang past kHeartbeatTimeout) makes
/// the guard iconify the last processes watched and start Velmora again.
enum class GuardMessageKind { starting, watching, quit };

struct GuardMessage {
    GuardMessageKind kind = GuardMessageKind::starting;
    std::vector<ProcessId> pids{};

    static GuardMessage watching(std::vector<ProcessId> pids) {
        return {GuardMessageKind::watching, std::move(pids)};
    }

    friend bool operator==(const GuardMessage&, const GuardMessage&) = default;
};

inline constexpr std::chrono::milliseconds kHeartbeatInterval{500};
inline constexpr std::chrono::milliseconds kHeartbeatTimeout{2000};
/// The longest line, line break included.
inline constexpr std::size_t kMaxGuardLineSize = 4096;
/// The channel's descriptor in a Velmora that the guard started, named by this variable.
inline constexpr int kChannelDescriptor = 3;
inline constexpr const char* kChannelVariable = "VELMORA_GUARD_FD";

/// The line for `message`, line break included; pids that would not fit are left out.
[[nodiscard]] std::string encodeGuardMessage(const GuardMessage& message);
/// `line` without its line break; nothing when it is not a message of the protocol.
[[nodiscard]] std::optional<GuardMessage> decodeGuardMessage(std::string_view line);

} // namespace velmora::guard
