#pragma once

#include "Support/Subscription.hpp"
#include "Views/SettingsPopupViewModel.hpp"

#include <QObject>
#include <QString>
#include <memory>

namespace velmora {

/// What SettingsPopup.qml sees of one `SettingsPopupViewModel`, made for each opening of the
/// popover.
///
///     auto* popup = new SettingsPopupAdaptor(model, parent);
///     // QML: Switch { checked: popup.launchAtLogin; onToggled: popup.setLaunchAtLogin(checked) }
class SettingsPopupAdaptor final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool launchAtLogin READ launchAtLogin NOTIFY launchAtLoginChanged)
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(QString versionLine READ versionLine CONSTANT)

public:
    SettingsPopupAdaptor(std::shared_ptr<SettingsPopupViewModel> model, QObject* parent = nullptr);

    [[nodiscard]] bool launchAtLogin() const { return model_->launchAtLogin.get(); }
    [[nodiscard]] bool canCheckForUpdates() const {
        return model_->checkForUpdatesViewModel.canCheckForUpdates.get();
    }
    [[nodiscard]] QString versionLine() const;

    Q_INVOKABLE void setLaunchAtLogin(bool enabled);
    Q_INVOKABLE void openAccessibilitySettings();
    Q_INVOKABLE void openInputMonitoringSettings();
    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void openWebsite();
    Q_INVOKABLE void openSupport();

Q_SIGNALS:
    void launchAtLoginChanged();
    void canCheckForUpdatesChanged();

private:
    std::shared_ptr<SettingsPopupViewModel> model_;
    Subscription launchAtLogin_;
    Subscription canCheckForUpdates_;
};

} // namespace velmora
