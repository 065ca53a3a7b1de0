#pragma once

#include "Platform/AccessibilityTrust.hpp"
#include "Platform/EventTap.hpp"
#include "Platform/HostApplication.hpp"
#include "Platform/MainBundle.hpp"
#include "Platform/SystemLog.hpp"
#include "Platform/UrlOpening.hpp"
#include "Platform/UserDefaults.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

struct Platform;

enum class PermissionType { accessibility, inputMonitoring };

inline constexpr std::array<PermissionType, 2> allPermissionTypes{PermissionType::accessibility,
                                                                  PermissionType::inputMonitoring};

/// "accessibility" or "inputMonitoring": the type's identity.
std::string_view rawValue(PermissionType type);

enum class PermissionStatus { granted, denied, unknown };

/// "granted", "denied" or "unknown".
std::string_view description(PermissionStatus status);

/// The two permissions the program depends on: Accessibility, without which nothing is
/// protected, and Input Monitoring, which feeds idle detection.
///
///     auto permissions = PermissionsManager::shared();
///     Subscription s = permissions->requiredPermissionsGranted().subscribe(
///         [](bool granted) { if (granted) startEngine(); });
///     permissions->openSystemSettings(PermissionType::accessibility);
///
/// Checks at construction, whenever the program becomes active, every second while
/// Accessibility is missing, and on request. Input Monitoring stays `unknown` until a check is
/// asked for (`requestInputMonitoring()`, or a grant remembered from an earlier start), because
/// probing it can make the system ask the user. The observable fields are assigned only when
/// their value changes. Main thread only.
class PermissionsManager final : public std::enable_shared_from_this<PermissionsManager> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<AccessibilityTrust> accessibility;
        std::shared_ptr<EventTapProviding> eventTaps;
        std::shared_ptr<UserDefaults> userDefaults;
        std::shared_ptr<HostApplication> application;
        std::shared_ptr<UrlOpening> urlOpener;
        std::shared_ptr<SystemLog> systemLog;
        std::shared_ptr<MainBundle> mainBundle;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<TimeProviding> timeProvider;
    };

    /// A support record of the program and its permissions.
    struct Diagnostics {
        std::string bundleIdentifier;
        std::string bundlePath;
        std::string executablePath;
        bool accessibilityAuthorized = false;
        bool inputMonitoringAuthorized = false;
        TimePoint timestamp;

        /// The block users paste into a support request, seven lines without a final line end.
        [[nodiscard]] std::string formattedText() const;
    };

    static constexpr std::string_view inputMonitoringGrantedKey =
        "com.tovren.velmora.inputMonitoringGranted";
    static constexpr std::string_view accessibilitySettingsUrl = settings_links::accessibility;
    static constexpr std::string_view inputMonitoringSettingsUrl = settings_links::inputMonitoring;

    /// The process-wide instance, made on first use from the installed platform.
    static std::shared_ptr<PermissionsManager> shared();
    /// The collaborators from `platform`'s services.
    static Collaborators collaborators(const Platform& platform);

    /// Checks both permissions, follows the program's activation and, while Accessibility is
    /// missing, starts polling.
    static std::shared_ptr<PermissionsManager> create(Collaborators collaborators);
    PermissionsManager(Passkey, Collaborators collaborators);
    ~PermissionsManager();
    PermissionsManager(const PermissionsManager&) = delete;
    PermissionsManager& operator=(const PermissionsManager&) = delete;

    [[nodiscard]] Observable<PermissionStatus>& accessibilityStatus() {
        return accessibilityStatus_;
    }
    [[nodiscard]] Observable<PermissionStatus>& inputMonitoringStatus() {
        return inputMonitoringStatus_;
    }
    /// True exactly when Accessibility is granted.
    [[nodiscard]] Observable<bool>& requiredPermissionsGranted() {
        return requiredPermissionsGranted_;
    }
    /// True when Accessibility is granted and the last Input Monitoring probe succeeded.
    [[nodiscard]] Observable<bool>& allPermissionsGranted() { return allPermissionsGranted_; }
    [[nodiscard]] bool inputMonitoringCheckRequested() const {
        return inputMonitoringCheckRequested_;
    }
    [[nodiscard]] bool isPolling() const { return pollTimer_.has_value(); }

    /// Re-evaluates both permissions and updates the observable fields.
    void checkPermissions();
    /// Probes Input Monitoring now, which may make the system ask the user, and checks again a
    /// second later.
    void requestInputMonitoring();
    /// Opens the system settings pane for `type`, then polls while Accessibility is missing.
    void openSystemSettings(PermissionType type);
    void startPolling();
    void stopPolling();
    [[nodiscard]] Diagnostics getDiagnostics() const;

private:
    bool probeInputMonitoring();

    Collaborators collaborators_;
    Observable<PermissionStatus> accessibilityStatus_{PermissionStatus::unknown};
    Observable<PermissionStatus> inputMonitoringStatus_{PermissionStatus::unknown};
    Observable<bool> requiredPermissionsGranted_{false};
    Observable<bool> allPermissionsGranted_{false};
    bool inputMonitoringCheckRequested_ = false;
    std::optional<TimerHandle> pollTimer_;
    Subscription appActivationObserver_;
};

} // namespace velmora
