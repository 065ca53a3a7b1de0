#include "harness/UserDefaultsFile.hpp"

#include "Support/Uuid.hpp"

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>

namespace velmora::e2e {
namespace {

// Stored dates count seconds from 2001-01-01 00:00:00 UTC.
double secondsSince2001() {
    using namespace std::chrono;
    const auto reference = sys_days{2001y / January / 1};
    return duration<double>(system_clock::now() - reference).count();
}

} // namespace

void writeUserDefaults(const std::filesystem::path& path,
                       const std::vector<ProtectedAppEntry>& apps) {
    auto list = nlohmann::json::array();
    for (const auto& app : apps) {
        list.push_back({{"id", makeUuidString()},
                        {"bundleIdentifier", app.bundleIdentifier},
                        {"displayName", app.displayName},
                        {"addedDate", secondsSince2001()},
                        {"autoLockEnabled", app.autoLockEnabled},
                        {"idleTimeoutMinutes", app.idleTimeoutMinutes}});
    }
    const nlohmann::json defaults = {{"protectedApps", list},
                                     {"com.tovren.velmora.inputMonitoringGranted", true},
                                     {"userCompletedOnboarding", true}};
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << defaults.dump(4) << "\n";
}

} // namespace velmora::e2e
