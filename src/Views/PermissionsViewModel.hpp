#pragma once

#include "Platform/HostApplication.hpp"
#include "Platform/Pasteboard.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Views/NamedColor.hpp"
#include "Views/PermissionCard.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// The onboarding view: both permissions with their live state, how to grant them, a
/// diagnostics panel for support, and the way on once Accessibility is granted.
///
///     auto model = PermissionsViewModel::create(collaborators, [] { finishOnboarding(); });
///     model->continueOption.get();   // ContinueOption::unavailable until Accessibility
///     model->copyDiagnostics();      // "Copied!" for two seconds
///
/// Everything but `showDiagnostics` and `diagnosticsCopied` follows the permissions manager.
/// Main thread only.
class PermissionsViewModel final : public std::enable_shared_from_this<PermissionsViewModel> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<PermissionsManager> permissionsManager;
        std::shared_ptr<Pasteboard> pasteboard;
        /// Ended by "Quit & Reopen".
        std::shared_ptr<HostApplication> application;
        std::shared_ptr<RunLoop> runLoop;
    };

    /// What the bottom of the view offers, beside "Re-check Permissions".
    enum class ContinueOption {
        /// A caption in place of a button.
        unavailable,
        /// A button at least `PermissionsViewStyle::continueMinimumWidth` wide.
        continueButton,
        /// A button over an orange caption.
        continueWithoutInputMonitoring,
    };

    struct StatusRow {
        std::string_view symbol;
        std::string_view text;
        NamedColor color = NamedColor::red;

        friend bool operator==(const StatusRow&, const StatusRow&) = default;
    };

    struct DiagnosticRow {
        std::string label;
        std::string value;
        NamedColor valueColor = NamedColor::primary;

        friend bool operator==(const DiagnosticRow&, const DiagnosticRow&) = default;
    };

    static constexpr std::string_view headerSymbol = "lock.shield.fill";
    static constexpr std::string_view title = "Welcome to Velmora";
    static constexpr std::string_view subtitle = "Velmora needs permissions to protect your apps.";
    static constexpr std::string_view requiredSection = "Required";
    static constexpr std::string_view requiredSectionSymbol = "exclamationmark.circle.fill";
    static constexpr std::string_view recommendedSection = "Recommended";
    static constexpr std::string_view recommendedSectionSymbol = "sparkles";
    static constexpr std::string_view inputMonitoringInfo =
        "Without Input Monitoring, apps auto-lock after 5 min even when active.";
    static constexpr std::string_view inputMonitoringInfoSymbol = "info.circle";
    static constexpr std::string_view diagnosticsTitle = "Diagnostics";
    static constexpr std::string_view diagnosticsSymbol = "wrench.and.screwdriver";
    static constexpr std::string_view diagnosticsHint =
        "If Accessibility shows NOT AUTHORIZED but you enabled it, ensure you granted permission "
        "to this exact path. You may need to remove and re-add the app.";
    static constexpr std::string_view recheckAllTitle = "Re-check Permissions";
    static constexpr std::string_view recheckAllSymbol = "arrow.clockwise";
    static constexpr Seconds copiedDuration{2.0};

    /// `onContinue` may be empty.
    static std::shared_ptr<PermissionsViewModel> create(Collaborators collaborators,
                                                        std::function<void()> onContinue);
    PermissionsViewModel(Passkey, Collaborators collaborators, std::function<void()> onContinue);

    Observable<PermissionCard> accessibilityCard{
        PermissionCard{PermissionType::accessibility, PermissionStatus::unknown, true}};
    Observable<PermissionCard> inputMonitoringCard{
        PermissionCard{PermissionType::inputMonitoring, PermissionStatus::unknown, false}};
    /// The orange note under the Input Monitoring card.
    Observable<bool> showsInputMonitoringInfo{true};
    Observable<StatusRow> statusRow;
    Observable<ContinueOption> continueOption{ContinueOption::unavailable};
    Observable<bool> showDiagnostics{false};
    /// True for two seconds after each copy.
    Observable<bool> diagnosticsCopied{false};

    /// From a fresh diagnostics record, for each drawing of the panel.
    [[nodiscard]] std::vector<DiagnosticRow> diagnosticRows() const;
    /// The bottom's button; nothing while Accessibility is missing.
    [[nodiscard]] std::optional<std::string_view> continueButtonTitle() const;
    /// The caption beside or under the button, or in its place.
    [[nodiscard]] std::optional<std::string_view> continueNote() const;
    [[nodiscard]] std::string_view diagnosticsChevron() const;
    [[nodiscard]] std::string_view copyButtonTitle() const;
    [[nodiscard]] std::string_view copyButtonSymbol() const;

    void toggleDiagnostics();
    /// Puts the diagnostics text block on the pasteboard.
    void copyDiagnostics();
    /// Either Continue button; nothing while Accessibility is missing.
    void continueTapped();
    void recheckPermissions();
    /// A card's "Open System Settings".
    void openSystemSettings(PermissionType permission);
    /// Accessibility's "Quit & Reopen": only quits; reopening is the user's.
    void quitApp();

private:
    void update();

    Collaborators collaborators_;
    std::function<void()> onContinue_;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
