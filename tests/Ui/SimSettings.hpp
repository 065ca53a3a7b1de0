#pragma once

#include "Platform/Sim/SimDesktop.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/RecordingLogger.hpp"
#include "Views/MainContentViewModel.hpp"

#include <optional>

namespace velmora::testing {

/// The settings window's services on the simulated desktop, with the permissions as a test
/// sets them; its timers run only when the test advances the desktop's clock.
struct SimSettings {
    SimDesktop desktop;
    std::shared_ptr<PermissionsManager> permissions;
    int raises = 0;

    explicit SimSettings(bool accessibility = false,
                         std::optional<bool> inputMonitoring = std::nullopt) {
        desktop.accessibility->setTrusted(accessibility);
        desktop.eventTaps->setCreationAllowed(inputMonitoring.value_or(true));
        permissions = PermissionsManager::create(PermissionsManager::collaborators(
            desktop.platform(std::make_shared<RecordingLogger>())));
        if (inputMonitoring) {
            permissions->requestInputMonitoring();
            desktop.loop->advance(Seconds{1});
        }
    }

    [[nodiscard]] MainContentViewModel::Collaborators collaborators() {
        return {
            .permissionsManager = permissions,
            .userDefaults = desktop.userDefaults,
            .application = desktop.hostApplication,
            .windows = nullptr,
            .pasteboard = desktop.pasteboard,
            .runLoop = desktop.loop,
            .raiseVisibleWindows = [this] { ++raises; },
        };
    }
};

} // namespace velmora::testing
