#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velmora::e2e {

/// One protected application as the owner would have added it.
struct ProtectedAppEntry {
    std::string bundleIdentifier;
    std::string displayName;
    bool autoLockEnabled = true;
    std::int64_t idleTimeoutMinutes = 5;
};

/// Writes Velmora's user defaults as a person who finished onboarding has them: `apps` on
/// the protected list and Input Monitoring acknowledged. Written by hand from the stored
/// format, not with Velmora's own encoder, so a fault in either shows.
void writeUserDefaults(const std::filesystem::path& path,
                       const std::vector<ProtectedAppEntry>& apps);

} // namespace velmora::e2e
