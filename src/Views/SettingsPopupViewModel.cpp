#include "Views/SettingsPopupViewModel.hpp"

#include "Services/PermissionsManager.hpp"

namespace velmora {
namespace {

std::string infoString(const std::map<std::string, std::string>& info, const std::string& key,
                       const char* fallback) {
    const auto it = info.find(key);
    return it == info.end() ? fallback : it->second;
}

} // namespace

std::string SettingsPopupViewModel::versionText(const std::map<std::string, std::string>& info) {
    return infoString(info, "CFBundleShortVersionString", "1.0.0") + " (" +
           infoString(info, "CFBundleVersion", "1") + ")";
}

SettingsPopupViewModel::SettingsPopupViewModel(Collaborators collaborators)
    : checkForUpdatesViewModel(collaborators.updater), collaborators_(std::move(collaborators)) {
    launchAtLogin.set(collaborators_.userDefaults->boolean(launchAtLoginKey).value_or(false));
}

std::string SettingsPopupViewModel::versionLine() const {
    return "Version " + versionText(collaborators_.mainBundleInfo);
}

void SettingsPopupViewModel::appeared() {
    change(collaborators_.loginItems->isEnabled());
}

void SettingsPopupViewModel::setLaunchAtLogin(bool enabled) {
    if (enabled || !launchAtLogin.get()) {
        change(enabled);
        return;
    }
    if (isAuthenticating.get()) {
        return;
    }
    isAuthenticating.set(true);
    collaborators_.authManager->authenticate(
        std::string(launchAtLoginOffReason),
        [this, alive = lifetime_.watch(),
         collaborators = collaborators_](const AuthResult& result) {
            if (alive.ended()) {
                if (result.isSuccess()) {
                    apply(collaborators, false);
                }
                return;
            }
            isAuthenticating.set(false);
            if (result.isSuccess()) {
                change(false);
            }
        });
}

void SettingsPopupViewModel::change(bool enabled) {
    if (enabled == launchAtLogin.get()) {
        return;
    }
    launchAtLogin.set(enabled);
    apply(collaborators_, enabled);
}

void SettingsPopupViewModel::apply(const Collaborators& collaborators, bool enabled) {
    collaborators.userDefaults->setBool(launchAtLoginKey, enabled);
    auto& items = *collaborators.loginItems;
    if (const auto error = enabled ? items.registerItem() : items.unregisterItem()) {
        collaborators.systemLog->log("SettingsPopupView: Failed to set launch at login - " +
                                     *error);
        return;
    }
    collaborators.systemLog->log(enabled ? "SettingsPopupView: Registered for launch at login"
                                         : "SettingsPopupView: Unregistered from launch at login");
}

void SettingsPopupViewModel::openAccessibilitySettings() {
    collaborators_.urlOpener->open(std::string(PermissionsManager::accessibilitySettingsUrl));
}

void SettingsPopupViewModel::openInputMonitoringSettings() {
    collaborators_.urlOpener->open(std::string(PermissionsManager::inputMonitoringSettingsUrl));
}

void SettingsPopupViewModel::checkForUpdates() {
    if (checkForUpdatesViewModel.canCheckForUpdates.get()) {
        checkForUpdatesViewModel.updater().checkForUpdates();
    }
}

void SettingsPopupViewModel::openWebsite() {
    collaborators_.urlOpener->open(std::string(websiteUrl));
}

void SettingsPopupViewModel::openSupport() {
    collaborators_.urlOpener->open(std::string(supportUrl));
}

} // namespace velmora
