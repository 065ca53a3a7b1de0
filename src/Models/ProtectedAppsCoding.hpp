#pragma once

#include "Models/ProtectedApp.hpp"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// The stored form of the protected list: a UTF-8 JSON array with one object per entry, in
/// list order, with the keys "id" (UUID text), "bundleIdentifier", "displayName",
/// "addedDate" (seconds since 2001-01-01 00:00:00 UTC), "autoLockEnabled" and
/// "idleTimeoutMinutes", and, only where they are not empty, "windowClasses" and
/// "executables" (arrays of strings).
///
///     std::string why;
///     if (auto apps = decodeProtectedApps(blob, &why)) { use(*apps); } else { report(why); }

/// The entries of a stored list; nothing when any entry lacks a key or has one of the wrong
/// JSON type, and then `errorDescription` (if given) says why. "windowClasses" and
/// "executables" are optional, and read as empty when they are not arrays of strings; other
/// keys are ignored; ids are read in either case. Never throws.
std::optional<std::vector<ProtectedApp>>
decodeProtectedApps(std::string_view json, std::string* errorDescription = nullptr) noexcept;

/// The stored form of `apps`. An entry is never refused: an id that is not a UUID is stored as
/// a new one, a date out of range at the edge of the range, and bytes that are not UTF-8 as
/// U+FFFD, so that every entry reads back. Nothing (with `errorDescription`) only when memory
/// runs out. Never throws.
std::optional<std::string> encodeProtectedApps(const std::vector<ProtectedApp>& apps,
                                               std::string* errorDescription = nullptr) noexcept;

} // namespace velmora
