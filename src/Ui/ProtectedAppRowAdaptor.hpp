#pragma once

#include "Support/Subscription.hpp"
#include "Views/ProtectedAppRowViewModel.hpp"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace velmora {

/// What ProtectedAppRow.qml sees of one `ProtectedAppRowViewModel`.
///
///     auto* row = new ProtectedAppRowAdaptor(model, parent);
///     // QML: Text { text: row.displayName }  MouseArea { onClicked: row.toggleExpanded() }
///
/// The icon is an "image://appicon/..." address for `ApplicationIconImageProvider`, empty
/// until `loadIcon()` found one, and when the icon theme does not have it.
class ProtectedAppRowAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString displayName READ displayName NOTIFY appChanged)
    Q_PROPERTY(QString summaryTimeout READ summaryTimeout NOTIFY appChanged)
    Q_PROPERTY(bool autoLockEnabled READ autoLockEnabled NOTIFY appChanged)
    Q_PROPERTY(int timeoutIndex READ timeoutIndex NOTIFY appChanged)
    Q_PROPERTY(QStringList timeoutLabels READ timeoutLabels CONSTANT)
    Q_PROPERTY(bool isExpanded READ isExpanded NOTIFY isExpandedChanged)
    Q_PROPERTY(QString iconSource READ iconSource NOTIFY iconSourceChanged)
    Q_PROPERTY(bool isAuthenticatingRemoval READ isAuthenticatingRemoval NOTIFY
                   isAuthenticatingRemovalChanged)
    Q_PROPERTY(QString badge READ badge NOTIFY badgeChanged)
    Q_PROPERTY(QString badgeText READ badgeText NOTIFY badgeChanged)
    Q_PROPERTY(QString badgeSymbol READ badgeSymbol NOTIFY badgeChanged)
    Q_PROPERTY(bool badgeIsButton READ badgeIsButton NOTIFY badgeChanged)
    Q_PROPERTY(QString badgeHelp READ badgeHelp NOTIFY badgeChanged)
    Q_PROPERTY(bool showsLockNow READ showsLockNow NOTIFY showsLockNowChanged)

public:
    ProtectedAppRowAdaptor(std::shared_ptr<ProtectedAppRowViewModel> model,
                           QObject* parent = nullptr);

    [[nodiscard]] const std::shared_ptr<ProtectedAppRowViewModel>& model() const { return model_; }

    [[nodiscard]] QString displayName() const;
    /// The idle time-out after the name, empty while auto-lock is off.
    [[nodiscard]] QString summaryTimeout() const;
    [[nodiscard]] bool autoLockEnabled() const;
    /// The picker's choice; -1 for a time-out the picker does not offer.
    [[nodiscard]] int timeoutIndex() const;
    [[nodiscard]] static QStringList timeoutLabels();
    [[nodiscard]] bool isExpanded() const;
    [[nodiscard]] QString iconSource() const;
    [[nodiscard]] bool isAuthenticatingRemoval() const;
    /// "inactive", "unlocked" or "locked".
    [[nodiscard]] QString badge() const;
    [[nodiscard]] QString badgeText() const;
    [[nodiscard]] QString badgeSymbol() const;
    [[nodiscard]] bool badgeIsButton() const;
    [[nodiscard]] QString badgeHelp() const;
    [[nodiscard]] bool showsLockNow() const;

    Q_INVOKABLE void loadIcon();
    Q_INVOKABLE void toggleExpanded();
    Q_INVOKABLE void badgeTapped();
    Q_INVOKABLE void lockNow();
    /// By the picker's index.
    Q_INVOKABLE void chooseTimeout(int index);
    Q_INVOKABLE void setAutoLockEnabled(bool enabled);
    Q_INVOKABLE void remove();

Q_SIGNALS:
    void appChanged();
    void isExpandedChanged();
    void iconSourceChanged();
    void isAuthenticatingRemovalChanged();
    void badgeChanged();
    void showsLockNowChanged();

private:
    std::shared_ptr<ProtectedAppRowViewModel> model_;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
