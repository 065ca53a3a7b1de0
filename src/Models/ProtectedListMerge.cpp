#include "Models/ProtectedListMerge.hpp"

#include <algorithm>

namespace velmora {

namespace {

void addMissing(std::vector<std::string>& values, const std::vector<std::string>& more) {
    for (const std::string& value : more) {
        if (std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(value);
        }
    }
}

} // namespace

MergedProtectedList mergeProtectedLists(const std::optional<std::vector<ProtectedApp>>& stored,
                                        StoredListProblem::Kind whyNotStored,
                                        const std::vector<ProtectedApp>& copy) {
    MergedProtectedList merged{.apps = stored.value_or(std::vector<ProtectedApp>{}),
                               .problem = std::nullopt};
    std::vector<std::string> kept;
    for (const ProtectedApp& copied : copy) {
        const auto found =
            std::find_if(merged.apps.begin(), merged.apps.end(), [&](const ProtectedApp& app) {
                return app.bundleIdentifier == copied.bundleIdentifier;
            });
        if (found == merged.apps.end()) {
            merged.apps.push_back(copied);
            kept.push_back(copied.displayName);
            continue;
        }
        if ((copied.autoLockEnabled && !found->autoLockEnabled) ||
            copied.idleTimeoutMinutes < found->idleTimeoutMinutes) {
            found->autoLockEnabled = found->autoLockEnabled || copied.autoLockEnabled;
            found->idleTimeoutMinutes =
                std::min(found->idleTimeoutMinutes, copied.idleTimeoutMinutes);
            kept.push_back(copied.displayName);
        }
        addMissing(found->windowClasses, copied.windowClasses);
        addMissing(found->executables, copied.executables);
    }
    if (!stored && !copy.empty()) {
        merged.problem = StoredListProblem{whyNotStored, std::move(kept)};
    } else if (!kept.empty()) {
        merged.problem = StoredListProblem{StoredListProblem::Kind::weakened, std::move(kept)};
    }
    return merged;
}

} // namespace velmora
