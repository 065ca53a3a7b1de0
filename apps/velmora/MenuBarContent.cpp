#include "MenuBarContent.hpp"

#include "Core/LockEngine/LockEngine.hpp"
#include "Models/AppState.hpp"
#include "Platform/Platform.hpp"
#include "Services/AuthManager.hpp"
#include "Services/PermissionsManager.hpp"
#include "Services/UpdateManager.hpp"
#include "Ui/MenuBarDropdownAdaptor.hpp"
#include "Ui/MenuBarPanel.hpp"
#include "Views/MenuBarDropdownViewModel.hpp"

#include <QCoreApplication>

namespace velmora {

namespace {

const QUrl kDropdown(QStringLiteral("qrc:/velmora/qml/MenuBarDropdown.qml"));

SettingsPopupViewModel::Collaborators settingsPopup() {
    const Platform& platform = installedPlatform();
    return {
        .userDefaults = platform.userDefaults,
        .loginItems = platform.loginItems,
        .systemLog = platform.systemLog,
        .urlOpener = platform.urlOpener,
        .updater = UpdateManager::shared().updater(),
        .mainBundleInfo = {{"CFBundleShortVersionString",
                            QCoreApplication::applicationVersion().toStdString()}},
        .authManager = AuthManager::shared(),
    };
}

} // namespace

MenuBarContent::MenuBarContent(MenuBarPanel& panel) : panel_(panel) {
    const Platform& platform = installedPlatform();
    model_ = MenuBarDropdownViewModel::create({
        .appState = AppState::shared(),
        .lockEngine = LockEngine::shared(),
        .permissionsManager = PermissionsManager::shared(),
        .authManager = AuthManager::shared(),
        .icons = platform.applicationIcons,
        .applicationPicker = platform.applicationPicker,
        .alerts = platform.alerts,
        .urlOpener = platform.urlOpener,
        .application = platform.hostApplication,
        .runLoop = platform.runLoop,
        .settingsPopup = settingsPopup,
        .failedAttempts = FailedAttempts::shared(),
        .clock = platform.timeProvider,
    });
    auto* adaptor = new MenuBarDropdownAdaptor(model_, &context_);
    // The engine does not publish which applications hold an unlock.
    panel.setContent(kDropdown, adaptor, [adaptor] { adaptor->refresh(); });
}

MenuBarContent::~MenuBarContent() {
    panel_.setContent({}, nullptr);
}

} // namespace velmora
