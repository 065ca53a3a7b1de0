#pragma once

#include "Support/ProcessId.hpp"

#include <string>

namespace velmora {

/// Which application is in front: its bundle identifier, process and name.
struct FrontmostAppInfo {
    std::string bundleIdentifier = "Unknown";
    ProcessId processIdentifier = -1;
    std::string appName = "Unknown";

    /// No frontmost application is known: ("Unknown", -1, "Unknown").
    static FrontmostAppInfo unknown() { return {}; }

    friend bool operator==(const FrontmostAppInfo&, const FrontmostAppInfo&) = default;
};

} // namespace velmora
