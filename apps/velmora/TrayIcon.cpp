#include "TrayIcon.hpp"

#include "Ui/LockCardStyle.hpp"
#include "Ui/SymbolRenderer.hpp"

#include <QPixmap>

namespace velmora {

namespace {

QIcon trayIcon() {
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(renderSymbol(
            QStringLiteral("lock.shield.fill"), QSize(side, side), LockCardStyle::brandPurple())));
    }
    return icon;
}

} // namespace

TrayIcon::TrayIcon(Action lockAll, Action quit) {
    QObject::connect(menu_.addAction(QObject::tr("Lock All")), &QAction::triggered, &menu_,
                     [lockAll = std::move(lockAll)] { lockAll(); });
    menu_.addSeparator();
    QObject::connect(menu_.addAction(QObject::tr("Quit Velmora")), &QAction::triggered, &menu_,
                     [quit = std::move(quit)] { quit(); });
    icon_.setIcon(trayIcon());
    icon_.setToolTip(QStringLiteral("Velmora"));
    icon_.setContextMenu(&menu_);
}

void TrayIcon::show() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qWarning("No system tray: start Velmora again to open its settings.");
    }
    icon_.show();
}

} // namespace velmora
