#pragma once

#include "Core/LockEngine/LockEngineFixture.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/FakeAuthenticator.hpp"
#include "Views/MainContentViewModel.hpp"
#include "Views/MenuBarDropdownViewModel.hpp"

#include <optional>

namespace velmora::testing {

/// The lock engine's desktop (Notes protected and running, Editor in front) with a
/// permissions manager and an authenticator that answers as the test says.
class ViewModelTest : public LockEngineTest {
protected:
    ViewModelTest() { setPermissions(true, std::nullopt); }

    /// A new permissions manager that finds Accessibility as given and, unless `inputMonitoring`
    /// is empty, has probed Input Monitoring with that outcome.
    void setPermissions(bool accessibility, std::optional<bool> inputMonitoring) {
        ::testing::internal::CaptureStdout();
        desktop.accessibility->setTrusted(accessibility);
        desktop.eventTaps->setCreationAllowed(inputMonitoring.value_or(true));
        desktop.userDefaults->remove(PermissionsManager::inputMonitoringGrantedKey);
        permissions = PermissionsManager::create(PermissionsManager::collaborators(platform));
        if (inputMonitoring) {
            permissions->requestInputMonitoring();
            desktop.loop->advance(Seconds{1});
        }
        ::testing::internal::GetCapturedStdout();
    }

    /// Accessibility changes in the system settings; the manager's next check sees it.
    void changeAccessibility(bool granted) {
        ::testing::internal::CaptureStdout();
        desktop.accessibility->setTrusted(granted);
        permissions->checkPermissions();
        ::testing::internal::GetCapturedStdout();
    }

    /// The panel's collaborators on this desktop; each settings popover it makes is counted.
    MenuBarDropdownViewModel::Collaborators dropdownCollaborators() {
        return {
            .appState = appState,
            .lockEngine = engine,
            .permissionsManager = permissions,
            .authManager = auth,
            .icons = desktop.applicationIcons,
            .applicationPicker = desktop.applicationPicker,
            .alerts = desktop.alerts,
            .urlOpener = desktop.urlOpener,
            .application = desktop.hostApplication,
            .runLoop = desktop.loop,
            .settingsPopup =
                [this] {
                    ++popupsMade;
                    return SettingsPopupViewModel::Collaborators{
                        .userDefaults = desktop.userDefaults,
                        .loginItems = desktop.loginItems,
                        .systemLog = desktop.systemLog,
                        .urlOpener = desktop.urlOpener,
                        .updater = updater,
                        .authManager = auth,
                    };
                },
        };
    }

    /// The settings window's collaborators on this desktop; each raise it asks for is counted.
    MainContentViewModel::Collaborators mainContentCollaborators() {
        return {
            .permissionsManager = permissions,
            .userDefaults = desktop.userDefaults,
            .application = desktop.hostApplication,
            .windows = desktop.hostApplication,
            .pasteboard = desktop.pasteboard,
            .runLoop = desktop.loop,
            .raiseVisibleWindows = [this] { ++raises; },
        };
    }

    const Platform platform = desktop.platform(logger);
    std::shared_ptr<PermissionsManager> permissions;
    std::shared_ptr<FakeAuthenticator> auth = std::make_shared<FakeAuthenticator>(desktop.loop);
    std::shared_ptr<SimUpdater> updater = std::make_shared<SimUpdater>();
    int popupsMade = 0;
    int raises = 0;
};

} // namespace velmora::testing
