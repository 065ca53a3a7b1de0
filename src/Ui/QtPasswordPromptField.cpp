#include "Ui/QtPasswordPromptField.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <mutex>
#include <string.h>

namespace velmora {

namespace {

constexpr QChar kBullet(0x2022);

} // namespace

QtPasswordPromptField::QtPasswordPromptField(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemIsFocusScope, false);
    setAcceptedMouseButtons(Qt::LeftButton);
    setActiveFocusOnTab(true);
}

void QtPasswordPromptField::registerType() {
    static std::once_flag registered;
    std::call_once(registered, [] {
        qmlRegisterType<QtPasswordPromptField>("Velmora", 1, 0, "PasswordField");
    });
}

QString QtPasswordPromptField::displayText() const {
    return QString(length(), kBullet);
}

SecretBuffer QtPasswordPromptField::take() {
    SecretBuffer taken = std::move(password_);
    password_ = SecretBuffer();
    Q_EMIT lengthChanged();
    return taken;
}

void QtPasswordPromptField::clear() {
    if (!password_.empty()) {
        password_.wipe();
        Q_EMIT lengthChanged();
    }
}

void QtPasswordPromptField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Q_EMIT accepted();
        return;
    }
    if (event->key() == Qt::Key_Backspace) {
        if (!password_.empty()) {
            password_.removeLastCharacter();
            Q_EMIT lengthChanged();
        }
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        append(QGuiApplication::clipboard()->text());
        return;
    }
    QString text = event->text();
    const bool printable = !text.isEmpty() && std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.category() == QChar::Other_Control;
    });
    if (!printable || (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
        // Escape, Tab and shortcuts are for the window.
        event->ignore();
        return;
    }
    append(text);
}

void QtPasswordPromptField::mousePressEvent(QMouseEvent* event) {
    forceActiveFocus(Qt::MouseFocusReason);
    event->accept();
}

void QtPasswordPromptField::itemChange(ItemChange change, const ItemChangeData& data) {
    if (change == ItemSceneChange && data.window) {
        data.window->installEventFilter(this);
    }
    QQuickItem::itemChange(change, data);
}

// When a second keyboard starts typing (a password manager's, say), the window is inactive for
// a moment around the switch and has no focused item: the keys sent to it then would be lost.
bool QtPasswordPromptField::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched == window() && isEnabled() &&
        !window()->activeFocusItem()) {
        event->accept();
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return event->isAccepted();
    }
    return QQuickItem::eventFilter(watched, event);
}

void QtPasswordPromptField::append(const QString& text) {
    QByteArray utf8 = text.toUtf8();
    password_.append(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    explicit_bzero(utf8.data(), static_cast<std::size_t>(utf8.size()));
    Q_EMIT lengthChanged();
}

} // namespace velmora
