#pragma once

#include <QObject>
#include <QString>

namespace velmora {

/// What the password prompt's QML sees: the reason, the message line, whether a password is
/// awaited and whether one is being checked; and the person's two answers.
///
///     // QML: Text { text: prompt.reason }  Button { enabled: prompt.waiting && !prompt.busy }
///     //      onAccepted: prompt.submit()
class PasswordPromptAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString reason READ reason CONSTANT)
    Q_PROPERTY(QString message READ message NOTIFY stateChanged)
    Q_PROPERTY(bool waiting READ waiting NOTIFY stateChanged)
    Q_PROPERTY(bool busy READ busy NOTIFY stateChanged)

public:
    explicit PasswordPromptAdaptor(QString reason, QObject* parent = nullptr);

    [[nodiscard]] QString reason() const { return reason_; }
    [[nodiscard]] QString message() const { return message_; }
    [[nodiscard]] bool waiting() const { return waiting_; }
    [[nodiscard]] bool busy() const { return busy_; }

    void setMessage(const QString& message);
    void setWaiting(bool waiting);
    void setBusy(bool busy);

    /// The password field's text is taken by the prompt window, not passed through here.
    Q_INVOKABLE void submit() { Q_EMIT submitted(); }
    Q_INVOKABLE void cancel() { Q_EMIT cancelled(); }

signals:
    void stateChanged();
    void submitted();
    void cancelled();

private:
    QString reason_;
    QString message_;
    bool waiting_ = false;
    bool busy_ = false;
};

} // namespace velmora
