#pragma once

#include "Platform/WindowList.hpp"

#include <map>
#include <optional>
#include <string>

namespace velmora {

/// One entry of the window server's list with its numbers already taken out of their
/// system containers; a value that was missing or not a number is absent.
struct RawWindowInfo {
    std::optional<double> ownerPid{};
    std::optional<double> layer{};
    std::optional<double> number{};
    /// The number values of the bounds dictionary by key ("X", "Y", "Width", "Height");
    /// absent when the entry has no bounds dictionary.
    std::optional<std::map<std::string, double>> bounds{};
};

/// The entry as the lock engine reads it. A process identifier or layer that is not a whole
/// number in range is left out, as is every bound that is missing.
///
///     WindowListEntry entry = readWindowInfo({.ownerPid = 42, .layer = 0, .bounds = {...}});
WindowListEntry readWindowInfo(const RawWindowInfo& info);

} // namespace velmora
