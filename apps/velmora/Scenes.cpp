#include "Scenes.hpp"

#include "Platform/NotificationCenter.hpp"
#include "TrayIcon.hpp"
#include "Ui/MenuBarPanel.hpp"
#include "Ui/SettingsWindow.hpp"

#include <QQuickView>
#include <QSystemTrayIcon>

namespace velmora {

Scenes::Scenes(TrayIcon& tray, const std::shared_ptr<NotificationCenter>& notifications,
               MainContentViewModel::Collaborators settings)
    : panel_(std::make_unique<MenuBarPanel>(engines_)), settingsCollaborators_(std::move(settings)),
      menuBarExtra_(notifications, [this] { openSettings(); }) {
    tray.onClick([this](const QRect& icon) { panel_->toggle(icon); });
}

Scenes::~Scenes() = default;

void Scenes::showPanelWithoutTray() {
    // Without a tray the panel is the only way in.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        panel_->showWithoutTray();
    }
}

void Scenes::openSettings() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        panel_->open({});
    }
    if (!settings_) {
        settings_ = std::make_unique<SettingsWindow>(engines_.engine(), settingsCollaborators_);
        // Closed means gone: the next opening starts the content afresh. Not inside the
        // window's own signal, though.
        QObject::connect(&settings_->view(), &QWindow::visibleChanged, &context_,
                         [this](bool visible) {
                             if (!visible) {
                                 QMetaObject::invokeMethod(
                                     &context_,
                                     [this] {
                                         if (settings_ && !settings_->view().isVisible()) {
                                             settings_.reset();
                                         }
                                     },
                                     Qt::QueuedConnection);
                             }
                         });
    }
    settings_->present();
}

} // namespace velmora
