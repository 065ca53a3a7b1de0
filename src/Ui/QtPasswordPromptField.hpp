#pragma once

#include "Platform/Linux/SecretBuffer.hpp"

#include <QQuickItem>

namespace velmora {

/// The password prompt's field (`PasswordField` in QML): what is typed goes straight into a
/// SecretBuffer and never into a Qt string, an undo history or a binding; the screen shows
/// one bullet per character. Keys its window gets while no item there has the focus are its
/// own too.
///
///     // QML: PasswordField { id: field; onAccepted: prompt.submit() }
///     //      Text { text: field.displayText }
///     SecretBuffer password = field->take();   // the field is empty again
class QtPasswordPromptField : public QQuickItem {
    Q_OBJECT
    Q_PROPERTY(int length READ length NOTIFY lengthChanged)
    Q_PROPERTY(QString displayText READ displayText NOTIFY lengthChanged)

public:
    explicit QtPasswordPromptField(QQuickItem* parent = nullptr);

    /// Makes the type known to QML as `PasswordField` in the Velmora module; once is enough.
    static void registerType();

    [[nodiscard]] int length() const { return static_cast<int>(password_.characterCount()); }
    [[nodiscard]] QString displayText() const;

    /// Hands over what was typed, leaving the field empty.
    [[nodiscard]] SecretBuffer take();
    /// Wipes what was typed.
    Q_INVOKABLE void clear();

Q_SIGNALS:
    void lengthChanged();
    /// Return or Enter.
    void accepted();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void itemChange(ItemChange change, const ItemChangeData& data) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void append(const QString& text);

    SecretBuffer password_;
};

} // namespace velmora
