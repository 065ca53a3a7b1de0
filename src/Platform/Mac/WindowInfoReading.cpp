#include "Platform/Mac/WindowInfoReading.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

namespace velmora {

namespace {

template <typename Integer> std::optional<Integer> wholeNumber(std::optional<double> value) {
    if (!value || !std::isfinite(*value) || std::trunc(*value) != *value ||
        *value < static_cast<double>(std::numeric_limits<Integer>::min()) ||
        *value > static_cast<double>(std::numeric_limits<Integer>::max())) {
        return std::nullopt;
    }
    return static_cast<Integer>(*value);
}

std::optional<double> bound(const std::optional<std::map<std::string, double>>& bounds,
                            const char* key) {
    if (!bounds) {
        return std::nullopt;
    }
    const auto it = bounds->find(key);
    return it == bounds->end() ? std::nullopt : std::optional<double>(it->second);
}

} // namespace

WindowListEntry readWindowInfo(const RawWindowInfo& info) {
    return {
        .ownerPid = wholeNumber<ProcessId>(info.ownerPid),
        .layer = wholeNumber<int>(info.layer),
        .x = bound(info.bounds, "X"),
        .y = bound(info.bounds, "Y"),
        .width = bound(info.bounds, "Width"),
        .height = bound(info.bounds, "Height"),
        // The window server numbers windows with 32 bits.
        .number = wholeNumber<std::uint32_t>(info.number),
    };
}

} // namespace velmora
