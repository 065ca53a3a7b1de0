#include "Views/PermissionCard.hpp"

#include <array>

namespace velmora {
namespace {

constexpr std::array<std::string_view, 5> accessibilitySteps{
    "Click 'Open System Settings' below", "Click the '+' button if Velmora is not listed",
    "Navigate to the app and add it", "Toggle the switch ON for Velmora",
    "Velmora will detect the change automatically"};

constexpr std::array<std::string_view, 4> inputMonitoringSteps{
    "Click 'Open System Settings' below", "Find 'Velmora' and enable it",
    "If not listed, click '+' and add the app", "Velmora will detect the change automatically"};

} // namespace

std::string_view PermissionCard::title() const {
    return permission == PermissionType::accessibility ? "Accessibility" : "Input Monitoring";
}

std::string_view PermissionCard::description() const {
    return permission == PermissionType::accessibility
               ? "Allows Velmora to detect which app is active and position the lock overlay."
               : "Allows Velmora to detect keyboard and mouse activity to reset the idle timer.";
}

std::string_view PermissionCard::iconSymbol() const {
    return permission == PermissionType::accessibility ? "hand.point.up.braille" : "keyboard";
}

std::optional<std::string_view> PermissionCard::badge() const {
    if (permission == PermissionType::accessibility) {
        return "REQUIRED";
    }
    return std::nullopt;
}

NamedColor PermissionCard::statusColor() const {
    switch (status) {
    case PermissionStatus::granted:
        return NamedColor::green;
    case PermissionStatus::unknown:
        return NamedColor::gray;
    case PermissionStatus::denied:
        break;
    }
    return permission == PermissionType::accessibility ? NamedColor::red : NamedColor::orange;
}

std::string_view PermissionCard::statusSymbol() const {
    switch (status) {
    case PermissionStatus::granted:
        return "checkmark.circle.fill";
    case PermissionStatus::unknown:
        return "questionmark.circle";
    case PermissionStatus::denied:
        break;
    }
    return "xmark.circle.fill";
}

std::string_view PermissionCard::statusText() const {
    switch (status) {
    case PermissionStatus::granted:
        return "Enabled";
    case PermissionStatus::unknown:
        return "Checking";
    case PermissionStatus::denied:
        break;
    }
    return permission == PermissionType::accessibility ? "Required" : "Recommended";
}

std::span<const std::string_view> PermissionCard::steps() const {
    if (permission == PermissionType::accessibility) {
        return accessibilitySteps;
    }
    return inputMonitoringSteps;
}

} // namespace velmora
