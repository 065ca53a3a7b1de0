#pragma once

#include <QMenu>
#include <QSystemTrayIcon>
#include <functional>

namespace velmora {

/// Velmora's icon in the system tray, with its small menu: lock everything now, or quit.
///
///     TrayIcon tray([] { engine->lockAllNow(); }, [] { application->terminate(); });
///     tray.show();
class TrayIcon {
public:
    using Action = std::function<void()>;

    TrayIcon(Action lockAll, Action quit);
    void show();

private:
    QMenu menu_;
    QSystemTrayIcon icon_;
};

} // namespace velmora
