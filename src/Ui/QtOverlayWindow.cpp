#include "Ui/QtOverlayWindow.hpp"

#include "Core/Overlay/OverlayContentView.hpp"
#include "Platform/Linux/PlacementCoordinates.hpp"
#include "Ui/NativeWindows.hpp"
#include "Ui/OverlayContentAdaptor.hpp"
#include "Ui/QtColor.hpp"

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

QtOverlayWindow::QtOverlayWindow(std::shared_ptr<QQmlEngine> engine, Rect frame)
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
    setFrame(frame, false);
    nativeOverlayCreated(*view_);
    // The controller that keeps this window lives as long as the process, past the
    // application object, and no Qt window may outlive that, nor the QML engine that holds
    // the card's shared tool tip.
    if (QCoreApplication* application = QCoreApplication::instance()) {
        QObject::connect(application, &QCoreApplication::aboutToQuit, view_.get(), [this] {
            view_.reset();
            engine_.reset();
        });
    }
}

QtOverlayWindow::~QtOverlayWindow() = default;

// The X server draws no window shadows, knows no transparency without a compositor and no
// desktop spaces: these settings have nothing to act on. On macOS the overlay's native style
// sets them once for every overlay.
void QtOverlayWindow::setOpaque(bool) {}
void QtOverlayWindow::setHasShadow(bool) {}
void QtOverlayWindow::setCollectionBehavior(WindowCollectionBehavior) {}
void QtOverlayWindow::setReleasedWhenClosed(bool) {}

void QtOverlayWindow::setBackgroundColor(Color color) {
    view_->setColor(toQColor(color));
}

// Override-redirect windows stay above every managed window, whatever the level; on macOS
// the native style gives every overlay the modal-panel level.
void QtOverlayWindow::setLevel(WindowLevel) {}

void QtOverlayWindow::setIgnoresMouseEvents(bool ignores) {
    view_->setFlag(Qt::WindowTransparentForInput, ignores);
    nativeOverlayChanged(*view_);
}

void QtOverlayWindow::setFrame(Rect frame, bool display) {
    view_->setGeometry(rootGeometry(frame));
    if (display) {
        view_->update();
    }
}

std::optional<Rect> QtOverlayWindow::contentViewBounds() const {
    if (!contentView_) {
        return std::nullopt;
    }
    return Rect{0, 0, static_cast<double>(view_->width()), static_cast<double>(view_->height())};
}

void QtOverlayWindow::setContentView(std::shared_ptr<OverlayHostingView> view) {
    contentView_ = std::move(view);
    if (adaptor_ && adaptor_ != shownAdaptor_) {
        adaptor_->deleteLater();
    }
    adaptor_ = contentView_ && contentView_->rootView
                   ? new OverlayContentAdaptor(contentView_->rootView, view_.get())
                   : nullptr;
    // Building the card takes milliseconds: a hidden window gets it once it is mapped.
    if (view_->isVisible()) {
        showContent();
    }
}

void QtOverlayWindow::orderFrontRegardless() {
    nativeOverlayWillShow(*view_);
    view_->show();
    view_->raise();
    nativeOverlayChanged(*view_);
    showContent();
}

void QtOverlayWindow::orderOut() {
    view_->hide();
}

void QtOverlayWindow::showContent() {
    if (shownAdaptor_ == adaptor_) {
        return;
    }
    if (QQuickItem* root = view_->rootObject()) {
        // Through null, so that the card is made anew and its hover and press state reset.
        root->setProperty("content", QVariant::fromValue<QObject*>(nullptr));
        root->setProperty("content", QVariant::fromValue<QObject*>(adaptor_.data()));
    }
    if (shownAdaptor_) {
        shownAdaptor_->deleteLater();
    }
    shownAdaptor_ = adaptor_;
}

bool QtOverlayWindow::isVisible() const {
    return view_->isVisible();
}

} // namespace velmora
