// The least a Qt program like Velmora holds at rest: a tray icon with its menu and one Qt Quick
// window drawing a card in software, nothing else. IdleMemoryBench weighs it beside Velmora.
#include <QApplication>
#include <QMenu>
#include <QPixmap>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QQuickWindow>
#include <QSystemTrayIcon>

int main(int argc, char** argv) {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication application(argc, argv);
    QMenu menu;
    menu.addAction(QStringLiteral("Lock All"));
    menu.addAction(QStringLiteral("Quit"));
    QPixmap icon(22, 22);
    icon.fill(Qt::darkBlue);
    QSystemTrayIcon tray{QIcon(icon)};
    tray.setContextMenu(&menu);
    tray.show();

    QQuickView view;
    QQmlComponent card(view.engine());
    card.setData(R"(
        import QtQuick
        Rectangle {
            width: 480; height: 360; color: "#d0101018"
            Rectangle {
                anchors.centerIn: parent; width: 280; height: 260; radius: 14; color: "#f0f0f0"
                Column {
                    anchors.centerIn: parent; spacing: 10
                    Rectangle { width: 72; height: 72; radius: 36; color: "#404066" }
                    Text { text: "Notes"; font.pixelSize: 15; font.bold: true }
                    Text { text: "is protected"; color: "#707070" }
                    Rectangle {
                        width: 240; height: 44; radius: 8; color: "#404066"
                        Text { anchors.centerIn: parent; text: "Unlock"; color: "white" }
                    }
                    Text { text: "Minimize"; color: "#707070" }
                }
            }
        })",
                 QUrl());
    view.setContent(QUrl(), &card, card.create());
    view.setFlags(Qt::FramelessWindowHint);
    view.show();
    return QApplication::exec();
}
