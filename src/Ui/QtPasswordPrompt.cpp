#include "Ui/QtPasswordPrompt.hpp"

#include "Platform/Linux/X11InputFocus.hpp"
#include "Ui/PasswordPromptAdaptor.hpp"
#include "Ui/QtHostApplication.hpp"
#include "Ui/QtPasswordPromptField.hpp"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>

namespace velmora {

namespace {

const QUrl kSource(QStringLiteral("qrc:/velmora/qml/PasswordPrompt.qml"));

} // namespace

QtPasswordPrompt::QtPasswordPrompt(std::shared_ptr<QQmlEngine> engine, const std::string& reason,
                                   FocusGiver giveFocus)
    : engine_(std::move(engine)), view_(std::make_unique<QQuickView>(engine_.get(), nullptr)),
      adaptor_(new PasswordPromptAdaptor(QString::fromStdString(reason), view_.get())),
      giveFocus_(std::move(giveFocus)) {
    // Override-redirect like the overlays, since a window manager keeps the windows it
    // manages beneath them; it then takes the keyboard itself when it is shown.
    view_->setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
                    Qt::WindowStaysOnTopHint);
    view_->setTitle(QStringLiteral("Velmora"));
    QtHostApplication::setWindowKind(*view_, AppWindowKind::standard);
    view_->setResizeMode(QQuickView::SizeViewToRootObject);
    view_->setInitialProperties(
        {{QStringLiteral("prompt"), QVariant::fromValue<QObject*>(adaptor_)}});
    view_->setSource(kSource);
    for (const QQmlError& error : view_->errors()) {
        qWarning("Password prompt: %s", qPrintable(error.toString()));
    }
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), view_->size());
        frame.moveCenter(screen->geometry().center());
        view_->setGeometry(frame);
    }
    QObject::connect(adaptor_, &PasswordPromptAdaptor::submitted, view_.get(),
                     [this] { submit(); });
    QObject::connect(adaptor_, &PasswordPromptAdaptor::cancelled, view_.get(),
                     [this] { cancel(); });
    // Closing the window is cancelling.
    QObject::connect(view_.get(), &QWindow::visibleChanged, view_.get(), [this](bool visible) {
        if (!visible) {
            cancel();
        }
    });
}

QtPasswordPrompt::~QtPasswordPrompt() {
    reply_ = nullptr;
    view_->close();
}

void QtPasswordPrompt::requestPassword(const std::string& message, Reply reply) {
    // Every request is answered once: one still waiting is cancelled.
    cancel();
    reply_ = std::move(reply);
    adaptor_->setMessage(QString::fromStdString(message));
    adaptor_->setBusy(false);
    adaptor_->setWaiting(true);
    view_->show();
    view_->raise();
    view_->requestActivate();
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        const auto window = static_cast<std::uint32_t>(view_->winId());
        if (giveFocus_) {
            // The other connection must find the window mapped.
            waitUntilHandled(x11->connection());
            giveFocus_(window);
        } else {
            giveInputFocus(x11->connection(), window);
        }
    }
    if (QtPasswordPromptField* field = passwordField()) {
        field->forceActiveFocus();
    }
}

void QtPasswordPrompt::setBusy(bool busy) {
    adaptor_->setBusy(busy);
}

void QtPasswordPrompt::submit() {
    QtPasswordPromptField* field = passwordField();
    if (!reply_ || !field) {
        return;
    }
    answer(field->take());
}

void QtPasswordPrompt::cancel() {
    if (!reply_) {
        return;
    }
    // Nothing typed outlives its request.
    if (QtPasswordPromptField* field = passwordField()) {
        field->clear();
    }
    answer(std::nullopt);
}

QtPasswordPromptField* QtPasswordPrompt::passwordField() const {
    QQuickItem* root = view_->rootObject();
    return root ? root->findChild<QtPasswordPromptField*>(QStringLiteral("passwordField"))
                : nullptr;
}

void QtPasswordPrompt::answer(std::optional<SecretBuffer> password) {
    adaptor_->setWaiting(false);
    // Held in a shared cell: a queued call must be copyable, a password must not be copied.
    auto cell = std::make_shared<std::optional<SecretBuffer>>(std::move(password));
    QMetaObject::invokeMethod(
        adaptor_, [reply = std::exchange(reply_, nullptr), cell] { reply(std::move(*cell)); },
        Qt::QueuedConnection);
}

} // namespace velmora
