#include "Ui/SettingsPopupAdaptor.hpp"

namespace velmora {

SettingsPopupAdaptor::SettingsPopupAdaptor(std::shared_ptr<SettingsPopupViewModel> model,
                                           QObject* parent)
    : QObject(parent), model_(std::move(model)),
      launchAtLogin_(model_->launchAtLogin.subscribeToChanges(
          [this](bool) { Q_EMIT launchAtLoginChanged(); })),
      canCheckForUpdates_(model_->checkForUpdatesViewModel.canCheckForUpdates.subscribeToChanges(
          [this](bool) { Q_EMIT canCheckForUpdatesChanged(); })) {}

QString SettingsPopupAdaptor::versionLine() const {
    return QString::fromStdString(model_->versionLine());
}

void SettingsPopupAdaptor::setLaunchAtLogin(bool enabled) {
    model_->setLaunchAtLogin(enabled);
}

void SettingsPopupAdaptor::openAccessibilitySettings() {
    model_->openAccessibilitySettings();
}

void SettingsPopupAdaptor::openInputMonitoringSettings() {
    model_->openInputMonitoringSettings();
}

void SettingsPopupAdaptor::checkForUpdates() {
    model_->checkForUpdates();
}

void SettingsPopupAdaptor::openWebsite() {
    model_->openWebsite();
}

void SettingsPopupAdaptor::openSupport() {
    model_->openSupport();
}

} // namespace velmora
