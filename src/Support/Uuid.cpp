#include "Support/Uuid.hpp"

#include <array>
#include <cstdint>
#include <random>

namespace velmora {

namespace {

constexpr std::array<std::size_t, 4> kDashPositions{8, 13, 18, 23};
constexpr std::size_t kUuidLength = 36;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";

bool isDashPosition(std::size_t i) {
    for (const auto dash : kDashPositions) {
        if (i == dash) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string makeUuidString() {
    // random_device reads the kernel's entropy source; ids must not repeat across runs.
    thread_local std::random_device device;
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        const std::uint32_t word = device();
        for (std::size_t j = 0; j < 4; ++j) {
            bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
        }
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40); // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant

    std::string text;
    text.reserve(kUuidLength);
    for (const auto byte : bytes) {
        if (isDashPosition(text.size())) {
            text.push_back('-');
        }
        text.push_back(kHexDigits[byte >> 4]);
        text.push_back(kHexDigits[byte & 0x0F]);
    }
    return text;
}

std::optional<std::string> canonicalUuidString(std::string_view text) {
    if (text.size() != kUuidLength) {
        return std::nullopt;
    }
    std::string canonical(text);
    for (std::size_t i = 0; i < canonical.size(); ++i) {
        char& c = canonical[i];
        if (isDashPosition(i)) {
            if (c != '-') {
                return std::nullopt;
            }
        } else if (c >= 'a' && c <= 'f') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) {
            return std::nullopt;
        }
    }
    return canonical;
}

} // namespace velmora
