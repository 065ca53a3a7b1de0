#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::sway {

/// One message of the i3 IPC protocol that sway speaks: "i3-ipc", the body's length and the
/// message type (both 32 bits, native order), then the body (JSON).
///
///     send(fd, encodeMessage(kGetTree, ""));
///     while (auto message = takeMessage(received, malformed)) { use(*message); }
struct IpcMessage {
    std::uint32_t type = 0;
    std::string body;
};

[[nodiscard]] std::string encodeMessage(std::uint32_t type, std::string_view body);
/// Takes the first whole message off `buffer`; nothing while it is incomplete, or when the
/// buffer holds something else than the protocol (`malformed` is then set).
[[nodiscard]] std::optional<IpcMessage> takeMessage(std::string& buffer, bool& malformed);

} // namespace velmora::sway
