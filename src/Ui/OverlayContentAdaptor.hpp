#pragma once

#include "Platform/OverlayWindows.hpp"
#include "Support/Subscription.hpp"

#include <QObject>
#include <QString>
#include <memory>

namespace velmora {

/// What the overlay's QML sees of one `OverlayContent`: its texts, and its three actions.
///
///     auto* adaptor = new OverlayContentAdaptor(content, window);
///     root->setProperty("content", QVariant::fromValue<QObject*>(adaptor));
///     // QML: Text { text: content.appName }  MouseArea { onClicked: content.unlock() }
///
/// The actions run on a later turn of the event loop: what they do may replace the content
/// and destroy the QML items whose handler called them.
class OverlayContentAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString appName READ appName CONSTANT)
    Q_PROPERTY(QString unlockTitle READ unlockTitle CONSTANT)
    Q_PROPERTY(QString unlockSymbol READ unlockSymbol CONSTANT)
    Q_PROPERTY(bool hasMinimizeButton READ hasMinimizeButton CONSTANT)
    Q_PROPERTY(QString unlockWait READ unlockWait NOTIFY unlockWaitChanged)

public:
    OverlayContentAdaptor(std::shared_ptr<OverlayContent> content, QObject* parent = nullptr);

    [[nodiscard]] QString appName() const { return appName_; }
    [[nodiscard]] QString unlockTitle() const { return unlockTitle_; }
    [[nodiscard]] QString unlockSymbol() const { return unlockSymbol_; }
    [[nodiscard]] bool hasMinimizeButton() const { return hasMinimizeButton_; }
    /// "Try again in 30 s" while Unlock must wait; empty otherwise.
    [[nodiscard]] QString unlockWait() const;

    Q_INVOKABLE void unlock();
    Q_INVOKABLE void minimize();
    Q_INVOKABLE void backgroundClicked();

Q_SIGNALS:
    void unlockWaitChanged();

private:
    void later(void (OverlayContent::*action)());

    std::shared_ptr<OverlayContent> content_;
    // Read once per content: the Unlock label asks the authentication system for its sensor.
    QString appName_;
    QString unlockTitle_;
    QString unlockSymbol_;
    bool hasMinimizeButton_;
    Subscription unlockWait_;
};

} // namespace velmora
