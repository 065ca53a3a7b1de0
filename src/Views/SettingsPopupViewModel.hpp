#pragma once

#include "Platform/LoginItems.hpp"
#include "Platform/SystemLog.hpp"
#include "Platform/Updater.hpp"
#include "Platform/UrlOpening.hpp"
#include "Platform/UserDefaults.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Support/Lifetime.hpp"
#include "Support/Observable.hpp"
#include "Views/CheckForUpdatesViewModel.hpp"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace velmora {

/// The settings popover of the menu-bar panel: start at login, the two permission panes, a
/// manual update check and the About section.
///
///     SettingsPopupViewModel popup(collaborators);   // one per opening of the popover
///     popup.appeared();                              // follows the login item's real state
///     popup.setLaunchAtLogin(true);                  // registers the login item
///
/// Turning Launch at Login off waits for the owner's authentication, and is done even if the
/// popover has closed meanwhile. Main thread only.
class SettingsPopupViewModel {
public:
    struct Collaborators {
        std::shared_ptr<UserDefaults> userDefaults;
        std::shared_ptr<LoginItemService> loginItems;
        /// Where the three launch-at-login lines go, not the program's own log.
        std::shared_ptr<SystemLog> systemLog;
        std::shared_ptr<UrlOpening> urlOpener;
        std::shared_ptr<Updater> updater;
        /// The program's own information-dictionary texts ("CFBundleShortVersionString", ...).
        std::map<std::string, std::string> mainBundleInfo{};
        /// Asked before Launch at Login is turned off.
        std::shared_ptr<AuthenticationProviding> authManager{};
    };

    static constexpr std::string_view launchAtLoginKey = "launchAtLogin";
    static constexpr std::string_view websiteUrl = "https://www.tovren.com/velmora";
    static constexpr std::string_view supportUrl = "mailto:velmora@tovren.com";

    static constexpr std::string_view title = "Settings";
    static constexpr std::string_view generalSection = "General";
    static constexpr std::string_view launchAtLoginTitle = "Launch at Login";
    static constexpr std::string_view launchAtLoginSubtitle =
        "Start Velmora automatically when you log in";
    static constexpr std::string_view launchAtLoginOffReason =
        "Authenticate to turn off Launch at Login";
    static constexpr std::string_view permissionsSection = "Permissions";
    static constexpr std::string_view accessibilitySettingsTitle = "Accessibility Settings";
    static constexpr std::string_view accessibilitySettingsSymbol = "hand.raised";
    static constexpr std::string_view inputMonitoringSettingsTitle = "Input Monitoring Settings";
    static constexpr std::string_view inputMonitoringSettingsSymbol = "keyboard";
    static constexpr std::string_view updatesSection = "Updates";
    static constexpr std::string_view checkForUpdatesTitle = "Check for Updates";
    static constexpr std::string_view checkForUpdatesSymbol = "arrow.triangle.2.circlepath";
    static constexpr std::string_view aboutSection = "About";
    static constexpr std::string_view appIconName = "AppIcon";
    static constexpr std::string_view appIconFallbackSymbol = "lock.shield.fill";
    static constexpr std::string_view appName = "Velmora";
    static constexpr std::string_view websiteTitle = "Website";
    static constexpr std::string_view websiteSymbol = "link";
    static constexpr std::string_view supportTitle = "Support";
    static constexpr std::string_view supportSymbol = "envelope";

    /// "1.0.0 (1)" from the bundle's short version and build, each defaulted when missing.
    [[nodiscard]] static std::string versionText(const std::map<std::string, std::string>& info);

    explicit SettingsPopupViewModel(Collaborators collaborators);

    /// The switch; starts as stored under "launchAtLogin".
    Observable<bool> launchAtLogin{false};
    /// While turning it off waits for authentication.
    Observable<bool> isAuthenticating{false};
    CheckForUpdatesViewModel checkForUpdatesViewModel;

    /// "Version 1.0.0 (1)".
    [[nodiscard]] std::string versionLine() const;

    /// The popover is shown: the switch takes the login item's real state.
    void appeared();
    /// The user flipped the switch; off asks for authentication first.
    void setLaunchAtLogin(bool enabled);
    void openAccessibilitySettings();
    /// Opens the pane only; unlike the panel's warning row it asks the system for nothing.
    void openInputMonitoringSettings();
    /// Nothing while the updater cannot check.
    void checkForUpdates();
    void openWebsite();
    void openSupport();

private:
    void change(bool enabled);
    /// Stores the choice and mirrors it into the login item.
    static void apply(const Collaborators& collaborators, bool enabled);

    Collaborators collaborators_;
    /// Lets an authentication that ends after the popover closed find out.
    LifetimeToken lifetime_;
};

} // namespace velmora
