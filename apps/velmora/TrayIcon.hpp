#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <functional>

namespace velmora {

/// Velmora's icon in the system tray, with its small menu: lock everything now, or quit.
/// A left click is handed on with where the icon is.
///
///     TrayIcon tray([] { engine->lockAllNow(); }, [] { application->terminate(); });
///     tray.onClick([&](const QRect& icon) { panel.toggle(icon); });
///     tray.show();
class TrayIcon {
public:
    using Action = std::function<void()>;
    /// The icon's place on the screen; empty when the tray does not say.
    using ClickAction = std::function<void(const QRect& icon)>;

    TrayIcon(Action lockAll, Action quit);
    void onClick(ClickAction action);
    void show();

private:
    QMenu menu_;
    QSystemTrayIcon icon_;
};

} // namespace velmora
