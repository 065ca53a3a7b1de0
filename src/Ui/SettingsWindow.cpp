#include "Ui/SettingsWindow.hpp"

#include "Ui/QtHostApplication.hpp"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickView>
#include <QScreen>

namespace velmora {

namespace {

const QUrl kSource(QStringLiteral("qrc:/velmora/qml/MainContent.qml"));

} // namespace

SettingsWindow::SettingsWindow(std::shared_ptr<QQmlEngine> engine)
    : engine_(std::move(engine)), view_(std::make_unique<QQuickView>(engine_.get(), nullptr)) {
    view_->setTitle(QStringLiteral("Velmora Settings"));
    QtHostApplication::setWindowKind(*view_, AppWindowKind::standard);
    view_->setResizeMode(QQuickView::SizeViewToRootObject);
    view_->setSource(kSource);
    for (const QQmlError& error : view_->errors()) {
        qWarning("Settings window: %s", qPrintable(error.toString()));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), view_->size());
        frame.moveCenter(screen->availableGeometry().center());
        view_->setPosition(frame.topLeft());
    }
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::present() {
    view_->show();
    view_->raise();
    // A window manager is asked through _NET_ACTIVE_WINDOW, which it may grant or flag.
    view_->requestActivate();
}

} // namespace velmora
