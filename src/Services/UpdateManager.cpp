#include "Services/UpdateManager.hpp"

#include "Platform/Platform.hpp"

#include <iostream>

namespace velmora {

UpdateManager& UpdateManager::shared() {
    static UpdateManager instance = [] {
        const Platform& platform = installedPlatform();
        requirePlatformServices(static_cast<bool>(platform.updaterFactory), "the update manager");
        return UpdateManager(platform.updaterFactory);
    }();
    return instance;
}

UpdateManager::UpdateManager(const UpdaterFactory& factory) : updater_(factory()) {
    updater_->setAutomaticallyChecksForUpdates(false);
    if (auto error = updater_->startUpdater()) {
        // No retry and nothing shown: the check button simply stays disabled.
        std::cout << "[Sparkle] Failed to start updater: " << *error << std::endl;
    }
}

} // namespace velmora
