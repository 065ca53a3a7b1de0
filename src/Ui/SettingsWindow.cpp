#include "Ui/SettingsWindow.hpp"

#include "Ui/MainContentAdaptor.hpp"
#include "Ui/QtHostApplication.hpp"

#include <QGuiApplication>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>

namespace velmora {

namespace {

const QUrl kSource(QStringLiteral("qrc:/velmora/qml/MainContent.qml"));
const QUrl kContent(QStringLiteral("qrc:/velmora/qml/MainContentView.qml"));

// The settings window is the only window of the program that takes the keyboard for long;
// the panel closes as soon as it loses it.
class ClosesView final : public KeyWindowClosing {
public:
    explicit ClosesView(QQuickView& view) : view_(&view) {}

    void closeKeyWindow() override {
        if (view_) {
            view_->close();
        }
    }

private:
    QPointer<QQuickView> view_;
};

void warnAbout(const QList<QQmlError>& errors) {
    for (const QQmlError& error : errors) {
        qWarning("Settings window: %s", qPrintable(error.toString()));
    }
}

} // namespace

SettingsWindow::SettingsWindow(std::shared_ptr<QQmlEngine> engine,
                               MainContentViewModel::Collaborators collaborators)
    : engine_(std::move(engine)), view_(std::make_unique<QQuickView>(engine_.get(), nullptr)) {
    collaborators.windows = std::make_shared<ClosesView>(*view_);
    model_ = MainContentViewModel::create(std::move(collaborators));

    view_->setTitle(QStringLiteral("Velmora Settings"));
    QtHostApplication::setWindowKind(*view_, AppWindowKind::standard);
    view_->setResizeMode(QQuickView::SizeViewToRootObject);
    view_->rootContext()->setContextProperty(QStringLiteral("mainContent"),
                                             new MainContentAdaptor(model_, view_.get()));
    view_->setSource(kSource);
    warnAbout(view_->errors());
    auto* content = new QQmlComponent(engine_.get(), kContent, view_.get());
    warnAbout(content->errors());
    if (QQuickItem* root = view_->rootObject()) {
        root->setProperty("content", QVariant::fromValue(content));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), view_->size());
        frame.moveCenter(screen->availableGeometry().center());
        view_->setPosition(frame.topLeft());
    }
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::present() {
    const bool appearing = !view_->isVisible();
    view_->show();
    view_->raise();
    // A window manager is asked through _NET_ACTIVE_WINDOW, which it may grant or flag.
    view_->requestActivate();
    if (appearing) {
        model_->appeared();
    }
}

} // namespace velmora
