#include "Platform/Mac/AppleValues.hpp"

#include "Platform/NotificationCenter.hpp"
#include "Platform/UrlOpening.hpp"

#include <limits>

namespace velmora {

ActivationPolicy activationPolicyFromRaw(long long raw) {
    switch (raw) {
    case 0:
        return ActivationPolicy::regular;
    case 1:
        return ActivationPolicy::accessory;
    default:
        return ActivationPolicy::prohibited;
    }
}

long long rawActivationPolicy(ActivationPolicy policy) {
    switch (policy) {
    case ActivationPolicy::regular:
        return 0;
    case ActivationPolicy::accessory:
        return 1;
    case ActivationPolicy::prohibited:
        return 2;
    }
    return 2;
}

BiometryType biometryTypeFromRaw(long long raw) {
    if (raw < 0 || raw > std::numeric_limits<int>::max() ||
        raw == static_cast<int>(BiometryType::fingerprint)) {
        return BiometryType::none;
    }
    return static_cast<BiometryType>(raw);
}

bool isLoginItemEnabled(long long rawStatus) {
    return rawStatus == 1;
}

InputEvent inputEventFromQuartz(std::uint32_t type, std::int64_t targetPid) {
    const bool fits = targetPid >= std::numeric_limits<std::int32_t>::min() &&
                      targetPid <= std::numeric_limits<std::int32_t>::max();
    return {static_cast<InputEventType>(type), fits ? static_cast<std::int32_t>(targetPid) : 0};
}

std::string appleNotificationName(std::string_view name) {
    if (name == session_events::screenLocked) {
        return "com.apple.screenIsLocked";
    }
    return std::string(name);
}

std::string appleSettingsUrl(std::string_view url) {
    constexpr std::string_view pane = "x-apple.systempreferences:com.apple.preference.security?";
    if (url == settings_links::accessibility) {
        return std::string(pane) + "Privacy_Accessibility";
    }
    if (url == settings_links::inputMonitoring) {
        return std::string(pane) + "Privacy_ListenEvent";
    }
    return std::string(url);
}

SystemAgents appleSystemAgents() {
    return {
        .prompts = {"com.apple.LocalAuthentication.UIAgent", "com.apple.SecurityAgent",
                    "com.apple.UserNotificationCenter", "com.apple.notificationcenterui"},
        .shell = {"com.apple.ControlCenter", "com.apple.Spotlight", "com.apple.dock",
                  "com.apple.loginwindow"},
        .fileManager = "com.apple.finder",
    };
}

} // namespace velmora
