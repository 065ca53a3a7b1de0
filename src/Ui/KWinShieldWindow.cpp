#include "Ui/KWinShieldWindow.hpp"

#include <QCoreApplication>
#include <QPainter>

namespace velmora {
namespace {

// The script sizes it; until then it costs little.
constexpr QSize kParkedSize(64, 64);

} // namespace

KWinShieldWindow::KWinShieldWindow(QString token) : token_(std::move(token)) {
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setTitle(token_);
    resize(kParkedSize);
    // Made for the life of the process, but no Qt window may outlive the application.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QObject::connect(application, &QCoreApplication::aboutToQuit, this,
                         [this] { delete this; });
    }
    show();
}

void KWinShieldWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(QRect(QPoint(0, 0), size()), Qt::black);
}

} // namespace velmora
