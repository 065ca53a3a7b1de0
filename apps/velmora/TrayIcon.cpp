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

void TrayIcon::onClick(ClickAction action) {
    QObject::connect(&icon_, &QSystemTrayIcon::activated, &menu_,
                     [this, action = std::move(action)](QSystemTrayIcon::ActivationReason reason) {
                         // A second click soon after the first comes as a double-click;
                         // to a person it is just the next click.
                         if (reason == QSystemTrayIcon::Trigger ||
                             reason == QSystemTrayIcon::DoubleClick) {
                             action(icon_.geometry());
                         }
                     });
}

void TrayIcon::show() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        qWarning("No system tray: Velmora's panel opens as a window; start Velmora again to "
                 "bring it back.");
    }
    icon_.show();
}

} // namespace velmora
