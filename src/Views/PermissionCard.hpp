#pragma once

#include "Services/PermissionsManager.hpp"
#include "Views/NamedColor.hpp"

#include <optional>
#include <span>
#include <string_view>

namespace velmora {

/// One permission's card in the onboarding view: what it is for, its live status and, until
/// it is granted, numbered steps and buttons to grant it.
///
///     PermissionCard card{PermissionType::accessibility, PermissionStatus::denied, true};
///     card.statusText();   // "Required"
///     card.steps();        // five steps
struct PermissionCard {
    PermissionType permission = PermissionType::accessibility;
    PermissionStatus status = PermissionStatus::unknown;
    /// Whether the card offers "Quit & Reopen" (only Accessibility's does).
    bool offersQuit = false;

    static constexpr std::string_view openSettingsTitle = "Open System Settings";
    static constexpr std::string_view openSettingsSymbol = "gear";
    static constexpr std::string_view recheckTitle = "Re-check";
    static constexpr std::string_view recheckSymbol = "arrow.clockwise";
    static constexpr std::string_view quitTitle = "Quit & Reopen";
    static constexpr std::string_view quitSymbol = "arrow.counterclockwise";

    [[nodiscard]] std::string_view title() const;
    [[nodiscard]] std::string_view description() const;
    [[nodiscard]] std::string_view iconSymbol() const;
    /// "REQUIRED" beside Accessibility's title.
    [[nodiscard]] std::optional<std::string_view> badge() const;

    [[nodiscard]] NamedColor statusColor() const;
    [[nodiscard]] std::string_view statusSymbol() const;
    [[nodiscard]] std::string_view statusText() const;

    /// The steps and the buttons, shown until the permission is granted.
    [[nodiscard]] bool showsInstructions() const { return status != PermissionStatus::granted; }
    [[nodiscard]] std::span<const std::string_view> steps() const;

    friend bool operator==(const PermissionCard&, const PermissionCard&) = default;
};

} // namespace velmora
