#include "MenuBarContent.hpp"

#include "Core/LockEngine/LockEngine.hpp"
#include "Models/AppState.hpp"
#include "Platform/Linux/DesktopEntryIcons.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "Platform/Linux/XdgAutostart.hpp"
#include "Platform/Linux/XdgDirectories.hpp"
#include "Platform/Platform.hpp"
#include "Services/AuthManager.hpp"
#include "Services/PermissionsManager.hpp"
#include "Services/UpdateManager.hpp"
#include "Ui/MenuBarDropdownAdaptor.hpp"
#include "Ui/MenuBarPanel.hpp"
#include "Ui/QtAlertPresenter.hpp"
#include "Ui/QtApplicationPicker.hpp"
#include "Views/MenuBarDropdownViewModel.hpp"

#include <QCoreApplication>
#include <QQuickView>

namespace velmora {

namespace {

const QUrl kDropdown(QStringLiteral("qrc:/velmora/qml/MenuBarDropdown.qml"));

SettingsPopupViewModel::Collaborators settingsPopup() {
    const Platform& platform = installedPlatform();
    const std::string program = platform.mainBundle->executablePath().value_or(
        QCoreApplication::applicationFilePath().toStdString());
    return {
        .userDefaults = platform.userDefaults,
        .loginItems = std::make_shared<XdgAutostart>(XdgAutostart::defaultDirectory(), program),
        .systemLog = platform.systemLog,
        .urlOpener = platform.urlOpener,
        .updater = UpdateManager::shared().updater(),
        .mainBundleInfo = {{"CFBundleShortVersionString",
                            QCoreApplication::applicationVersion().toStdString()}},
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
        .icons = std::make_shared<DesktopEntryIcons>(std::make_shared<XdgApplicationDirectory>(
            XdgDirectories::applicationDirs(), DesktopLocale::fromEnvironment())),
        .applicationPicker =
            std::make_shared<QtApplicationPicker>(QtApplicationPicker::defaultDirectory()),
        .alerts = std::make_shared<QtAlertPresenter>(),
        .urlOpener = platform.urlOpener,
        .application = platform.hostApplication,
        .runLoop = platform.runLoop,
        .settingsPopup = settingsPopup,
    });
    auto* adaptor = new MenuBarDropdownAdaptor(model_, &context_);
    panel.setContent(kDropdown, adaptor);
    // The engine does not publish which applications hold an unlock.
    QObject::connect(&panel.view(), &QWindow::visibleChanged, adaptor, [adaptor](bool visible) {
        if (visible) {
            adaptor->refresh();
        }
    });
}

MenuBarContent::~MenuBarContent() {
    panel_.setContent({}, nullptr);
}

} // namespace velmora
