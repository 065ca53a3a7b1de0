#include "Platform/Linux/Wayland/SwayIpcMessage.hpp"

#include <cstring>

namespace velmora::sway {
namespace {

constexpr std::string_view kMagic = "i3-ipc";
constexpr std::size_t kHeaderSize = kMagic.size() + 8;
// sway's largest messages are trees of a few hundred kilobytes; anything far beyond is noise.
constexpr std::uint32_t kLargestBody = 64u << 20;

} // namespace

std::string encodeMessage(std::uint32_t type, std::string_view body) {
    const auto length = static_cast<std::uint32_t>(body.size());
    std::string message(kMagic);
    message.append(reinterpret_cast<const char*>(&length), sizeof length);
    message.append(reinterpret_cast<const char*>(&type), sizeof type);
    message.append(body);
    return message;
}

std::optional<IpcMessage> takeMessage(std::string& buffer, bool& malformed) {
    if (buffer.size() < kHeaderSize) {
        malformed = malformed || !std::string_view(kMagic).starts_with(buffer);
        return std::nullopt;
    }
    IpcMessage message;
    std::uint32_t length = 0;
    std::memcpy(&length, buffer.data() + kMagic.size(), sizeof length);
    std::memcpy(&message.type, buffer.data() + kMagic.size() + 4, sizeof message.type);
    if (!buffer.starts_with(kMagic) || length > kLargestBody) {
        malformed = true;
        return std::nullopt;
    }
    if (buffer.size() < kHeaderSize + length) {
        return std::nullopt;
    }
    message.body = buffer.substr(kHeaderSize, length);
    buffer.erase(0, kHeaderSize + length);
    return message;
}

} // namespace velmora::sway
