#include "Ui/MenuBarPanel.hpp"

#include "Ui/NativeWindows.hpp"
#include "Ui/PanelPlacement.hpp"
#include "Ui/QmlEngineSource.hpp"
#include "Ui/QtHostApplication.hpp"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QtMath>

namespace velmora {

namespace {

const QUrl kSource(QStringLiteral("qrc:/velmora/qml/MenuBarPanel.qml"));
constexpr qint64 kClickAfterFocusLossMs = 300;

const QScreen* screenAt(const QRect& icon) {
    const QScreen* screen = icon.isEmpty() ? nullptr : QGuiApplication::screenAt(icon.center());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

MenuBarPanel::MenuBarPanel(QmlEngineSource& engines) : engines_(engines) {}

void MenuBarPanel::build() {
    engine_ = engines_.engine();
    view_ = std::make_unique<QQuickView>(engine_.get(), nullptr);
    view_->setTitle(QStringLiteral("Velmora"));
    QtHostApplication::setWindowKind(*view_, AppWindowKind::standard);
    view_->setResizeMode(QQuickView::SizeViewToRootObject);
    view_->setSource(kSource);
    for (const QQmlError& error : view_->errors()) {
        qWarning("Menu bar panel: %s", qPrintable(error.toString()));
    }
    popup_ = false;
    loadContent();
    QObject::connect(view_.get(), &QWindow::activeChanged, &context_, [this] {
        if (popup_ && view_->isVisible() && !view_->isActive()) {
            sinceFocusLost_.start();
            close();
        }
    });
    // Content that grows or shrinks while the panel is open keeps it at the icon. Its size is
    // the content's alone: a tiling compositor then floats it at that size rather than
    // stretching it over a tile.
    if (const QQuickItem* root = view_->rootObject()) {
        const auto fit = [this, root] {
            const QSize size(qCeil(root->width()), qCeil(root->height()));
            view_->setMinimumSize(size);
            view_->setMaximumSize(size);
            view_->resize(size);
        };
        fit();
        QObject::connect(root, &QQuickItem::widthChanged, &context_, fit);
        QObject::connect(root, &QQuickItem::heightChanged, &context_, fit);
    }
    QObject::connect(view_.get(), &QWindow::heightChanged, &context_, [this] {
        if (view_->isVisible()) {
            place();
        }
    });
    // However it was closed (Escape, the window manager, focus lost); not inside the window's
    // own signal, though.
    QObject::connect(view_.get(), &QWindow::visibleChanged, &context_, [this](bool visible) {
        if (!visible) {
            QMetaObject::invokeMethod(
                &context_, [this] { releaseIfClosed(); }, Qt::QueuedConnection);
        }
    });
}

void MenuBarPanel::releaseIfClosed() {
    if (view_ && !view_->isVisible()) {
        view_.reset();
        engine_.reset();
    }
}

MenuBarPanel::~MenuBarPanel() = default;

bool MenuBarPanel::isVisible() const {
    return view_ && view_->isVisible();
}

void MenuBarPanel::toggle(const QRect& icon) {
    if (isVisible()) {
        close();
    } else if (!sinceFocusLost_.isValid() || sinceFocusLost_.elapsed() > kClickAfterFocusLossMs) {
        open(icon);
    }
}

void MenuBarPanel::open(const QRect& icon) {
    show(icon);
    view_->requestActivate();
    if (popup_) {
        nativePopupShown(*view_);
    }
}

void MenuBarPanel::showWithoutTray() {
    show({});
}

void MenuBarPanel::show(const QRect& icon) {
    if (!isVisible() && showing_) {
        showing_();
    }
    if (!view_) {
        build();
    }
    const bool popup = !icon.isEmpty();
    if (popup != popup_ || !view_->isVisible()) {
        // Flags only take effect on a window that is not shown.
        view_->hide();
        popup_ = popup;
        // Override-redirect, so that no window manager frames it or moves it off the icon.
        view_->setFlags(popup_ ? Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                                     Qt::X11BypassWindowManagerHint
                               : Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                     Qt::WindowMinimizeButtonHint);
    }
    icon_ = icon;
    place();
    view_->show();
    view_->raise();
}

void MenuBarPanel::close() {
    if (view_) {
        view_->hide();
    }
}

void MenuBarPanel::setContent(const QUrl& source, QObject* model, std::function<void()> showing) {
    contentSource_ = source;
    contentModel_ = model;
    showing_ = std::move(showing);
    if (view_) {
        loadContent();
    }
}

void MenuBarPanel::loadContent() {
    QMetaObject::invokeMethod(view_->rootObject(), "showContent", Q_ARG(QVariant, contentSource_),
                              Q_ARG(QVariant, QVariant::fromValue(contentModel_)));
}

void MenuBarPanel::place() {
    if (const QScreen* screen = screenAt(icon_)) {
        view_->setPosition(panelPosition(icon_, screen->availableGeometry(), view_->size()));
    }
}

} // namespace velmora
