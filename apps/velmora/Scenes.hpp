#pragma once

#include "Ui/QmlEngineSource.hpp"
#include "Views/MainContentViewModel.hpp"
#include "Views/MenuBarExtraViewModel.hpp"

#include <QObject>
#include <memory>

namespace velmora {

class MenuBarPanel;
class NotificationCenter;
class SettingsWindow;
class TrayIcon;

/// What a person sees of the running program: the panel that a click on the tray icon opens
/// (a window shown at start where there is no tray), and the settings window, opened on
/// "openSettingsRequested" and dropped again when it is closed.
///
///     Scenes scenes(tray, installedPlatform().notificationCenter, settingsCollaborators);
class Scenes {
public:
    /// Each settings window's content is built with `settings`.
    Scenes(TrayIcon& tray, const std::shared_ptr<NotificationCenter>& notifications,
           MainContentViewModel::Collaborators settings);
    ~Scenes();
    Scenes(const Scenes&) = delete;
    Scenes& operator=(const Scenes&) = delete;

    /// Where there is no tray, shows the panel as a window; once, when its content is in.
    void showPanelWithoutTray();
    /// Opens the settings window, or brings it forward.
    void openSettings();

    [[nodiscard]] MenuBarPanel& panel() const { return *panel_; }
    /// The settings window while it is open.
    [[nodiscard]] SettingsWindow* settingsWindow() const { return settings_.get(); }

private:
    // Shared by the panel and the settings window while either is open.
    QmlEngineSource engines_;
    std::unique_ptr<MenuBarPanel> panel_;
    MainContentViewModel::Collaborators settingsCollaborators_;
    std::unique_ptr<SettingsWindow> settings_;
    MenuBarExtraViewModel menuBarExtra_;
    QObject context_;
};

} // namespace velmora
