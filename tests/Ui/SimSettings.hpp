#pragma once

#include "Platform/Sim/SimDesktop.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/RecordingLogger.hpp"
#include "Views/MainContentViewModel.hpp"

namespace velmora::testing {

/// The settings window's services on the simulated desktop, with Accessibility as a test sets
/// it and Input Monitoring not yet probed; its timers run only when the test advances the
/// desktop's clock.
struct SimSettings {
    SimDesktop desktop;
    std::shared_ptr<PermissionsManager> permissions;

    explicit SimSettings(bool accessibility = false) {
        desktop.accessibility->setTrusted(accessibility);
        permissions = PermissionsManager::create(PermissionsManager::collaborators(
            desktop.platform(std::make_shared<RecordingLogger>())));
    }

    [[nodiscard]] MainContentViewModel::Collaborators collaborators() {
        return {
            .permissionsManager = permissions,
            .userDefaults = desktop.userDefaults,
            .application = desktop.hostApplication,
            .windows = nullptr,
            .pasteboard = desktop.pasteboard,
            .runLoop = desktop.loop,
            .raiseVisibleWindows = [] {},
        };
    }
};

} // namespace velmora::testing
