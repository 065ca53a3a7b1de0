#pragma once

#include "Support/Subscription.hpp"
#include "Views/MenuBarDropdownViewModel.hpp"

#include <QColor>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <memory>
#include <vector>

namespace velmora {

class ProtectedAppRowAdaptor;
class SettingsPopupAdaptor;

/// What MenuBarDropdown.qml sees of the `MenuBarDropdownViewModel`: the header status, the
/// warning rows, one `ProtectedAppRowAdaptor` per row and, while the popover is open, a
/// `SettingsPopupAdaptor`.
///
///     auto* dropdown = new MenuBarDropdownAdaptor(model, parent);
///     // QML: Repeater { model: dropdown.rows; ProtectedAppRow { row: modelData } }
///
/// Colours are those of the panel's material.
class MenuBarDropdownAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString statusText READ statusText NOTIFY headerStatusChanged)
    Q_PROPERTY(QColor statusDotColor READ statusDotColor NOTIFY headerStatusChanged)
    Q_PROPERTY(QColor statusTextColor READ statusTextColor NOTIFY headerStatusChanged)
    Q_PROPERTY(QVariantList warningRows READ warningRows NOTIFY warningRowsChanged)
    Q_PROPERTY(QList<QObject*> rows READ rows NOTIFY rowsChanged)
    Q_PROPERTY(int protectedAppCount READ protectedAppCount NOTIFY rowsChanged)
    Q_PROPERTY(bool lockAllEnabled READ lockAllEnabled NOTIFY lockAllEnabledChanged)
    Q_PROPERTY(bool showSettingsPopover READ showSettingsPopover NOTIFY showSettingsPopoverChanged)
    Q_PROPERTY(QObject* settingsPopup READ settingsPopup NOTIFY settingsPopupChanged)
    Q_PROPERTY(QVariantMap storedListNotice READ storedListNotice NOTIFY noticesChanged)
    Q_PROPERTY(QVariantMap saveFailureNotice READ saveFailureNotice NOTIFY noticesChanged)
    Q_PROPERTY(QString failedAttemptsText READ failedAttemptsText NOTIFY noticesChanged)
    Q_PROPERTY(bool noticeBusy READ noticeBusy NOTIFY noticesChanged)

public:
    MenuBarDropdownAdaptor(std::shared_ptr<MenuBarDropdownViewModel> model,
                           QObject* parent = nullptr);
    ~MenuBarDropdownAdaptor() override;

    [[nodiscard]] QString statusText() const;
    [[nodiscard]] QColor statusDotColor() const;
    [[nodiscard]] QColor statusTextColor() const;
    /// Each a map of "symbol", "title" and "subtitle", Accessibility's first.
    [[nodiscard]] QVariantList warningRows() const;
    [[nodiscard]] QList<QObject*> rows() const;
    [[nodiscard]] int protectedAppCount() const;
    [[nodiscard]] bool lockAllEnabled() const { return model_->lockAllEnabled.get(); }
    [[nodiscard]] bool showSettingsPopover() const { return model_->showSettingsPopover.get(); }
    [[nodiscard]] QObject* settingsPopup() const;
    /// "title" and "detail"; empty while there is no such notice.
    [[nodiscard]] QVariantMap storedListNotice() const;
    [[nodiscard]] QVariantMap saveFailureNotice() const;
    /// Empty while there are none.
    [[nodiscard]] QString failedAttemptsText() const;
    [[nodiscard]] bool noticeBusy() const { return model_->isAuthenticatingNotice.get(); }

    Q_INVOKABLE void refresh();
    /// By the warning row's index.
    Q_INVOKABLE void warningTapped(int index);
    Q_INVOKABLE void addApp();
    Q_INVOKABLE void lockAll();
    Q_INVOKABLE void toggleSettingsPopover();
    Q_INVOKABLE void settingsPopoverClosed();
    Q_INVOKABLE void quit();
    Q_INVOKABLE void keepStoredList();
    Q_INVOKABLE void restoreProtectedList();
    Q_INVOKABLE void dismissFailedAttempts();

Q_SIGNALS:
    void headerStatusChanged();
    void warningRowsChanged();
    void rowsChanged();
    void lockAllEnabledChanged();
    void showSettingsPopoverChanged();
    void settingsPopupChanged();
    void noticesChanged();

private:
    void rebuildRows();
    void replaceSettingsPopup();

    std::shared_ptr<MenuBarDropdownViewModel> model_;
    // Kept while their view model stays, so that QML keeps the delegates.
    std::vector<ProtectedAppRowAdaptor*> rows_;
    QPointer<SettingsPopupAdaptor> settingsPopup_;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
