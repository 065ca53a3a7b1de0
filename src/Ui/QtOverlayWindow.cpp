#include "Ui/QtOverlayWindow.hpp"

#include "Platform/Linux/PlacementCoordinates.hpp"
#include "Ui/NativeWindows.hpp"
#include "Ui/OverlayContentAdaptor.hpp"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <cmath>

namespace velmora {

namespace {

const QUrl kSource(QStringLiteral("qrc:/velmora/qml/OverlayContent.qml"));

QRect rootGeometry(Rect placed) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect primaryGeometry = primary ? primary->geometry() : QRect();
    const PlacementCoordinates coordinates{{static_cast<double>(primaryGeometry.x()),
                                            static_cast<double>(primaryGeometry.y()),
                                            static_cast<double>(primaryGeometry.width()),
                                            static_cast<double>(primaryGeometry.height())}};
    const Rect root = coordinates.toRoot(placed);
    const int left = static_cast<int>(std::lround(root.x));
    const int top = static_cast<int>(std::lround(root.y));
    // X refuses windows without area.
    const int right = std::max(left + 1, static_cast<int>(std::lround(root.maxX())));
    const int bottom = std::max(top + 1, static_cast<int>(std::lround(root.maxY())));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

QtOverlayWindow::QtOverlayWindow(std::shared_ptr<QQmlEngine> engine)
    : engine_(std::move(engine)), view_(std::make_unique<QQuickView>(engine_.get(), nullptr)) {
    view_->setFlags(Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                    Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    view_->setTitle(QStringLiteral("Velmora"));
    QSurfaceFormat format = view_->format();
    format.setAlphaBufferSize(8);
    view_->setFormat(format);
    view_->setColor(Qt::transparent);
    view_->setResizeMode(QQuickView::SizeRootObjectToView);
    view_->setSource(kSource);
    for (const QQmlError& error : view_->errors()) {
        qWarning("Overlay view: %s", qPrintable(error.toString()));
    }
    nativeOverlayCreated(*view_);
    // The controller that keeps this window lives as long as the process, past the
    // application object, and no Qt window may outlive that, nor the QML engine.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QObject::connect(application, &QCoreApplication::aboutToQuit, view_.get(), [this] {
            view_.reset();
            engine_.reset();
        });
    }
}

QtOverlayWindow::~QtOverlayWindow() = default;

void QtOverlayWindow::show(Rect frame, std::shared_ptr<OverlayContent> content) {
    setFrame(frame);
    showInPlace(std::move(content));
}

void QtOverlayWindow::hide() {
    view_->hide();
}

bool QtOverlayWindow::isVisible() const {
    return view_->isVisible();
}

void QtOverlayWindow::setFrame(Rect frame) {
    view_->setGeometry(rootGeometry(frame));
}

void QtOverlayWindow::showInPlace(std::shared_ptr<OverlayContent> content) {
    nativeOverlayWillShow(*view_);
    view_->show();
    view_->raise();
    nativeOverlayChanged(*view_);
    // Building the card takes milliseconds: it goes in once the window is mapped.
    if (content == content_) {
        return;
    }
    content_ = std::move(content);
    QPointer<OverlayContentAdaptor> shown = adaptor_;
    adaptor_ = content_ ? new OverlayContentAdaptor(content_, view_.get()) : nullptr;
    if (QQuickItem* root = view_->rootObject()) {
        // Through null, so that the card is made anew and its hover and press state reset.
        root->setProperty("content", QVariant::fromValue<QObject*>(nullptr));
        root->setProperty("content", QVariant::fromValue<QObject*>(adaptor_.data()));
    }
    if (shown) {
        shown->deleteLater();
    }
}

} // namespace velmora
