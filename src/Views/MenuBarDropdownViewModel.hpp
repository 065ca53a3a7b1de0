#pragma once

#include "Core/LockEngine/LockEngine.hpp"
#include "Models/AppState.hpp"
#include "Platform/AlertPresenting.hpp"
#include "Platform/ApplicationIcons.hpp"
#include "Platform/ApplicationPicker.hpp"
#include "Platform/HostApplication.hpp"
#include "Platform/UrlOpening.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Services/FailedAttempts.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Views/NamedColor.hpp"
#include "Views/ProtectedAppRowViewModel.hpp"
#include "Views/SettingsPopupViewModel.hpp"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace velmora {

/// The panel under the menu-bar icon: protection status, a warning per missing permission,
/// notices about the protected list and failed attempts, the protected applications,
/// "Add App", "Lock All", the settings popover and "Quit".
///
///     auto panel = MenuBarDropdownViewModel::create(collaborators);
///     panel->refresh();        // when the panel opens
///     panel->addApp();         // the open panel; an unreadable choice shows an alert
///     panel->lockAll();
///
/// Everything shown follows `AppState`, the lock engine and the permissions manager; the
/// panel's only state of its own is whether the settings popover is open. Main thread only.
class MenuBarDropdownViewModel final
    : public std::enable_shared_from_this<MenuBarDropdownViewModel> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<AppState> appState;
        std::shared_ptr<LockEngine> lockEngine;
        std::shared_ptr<PermissionsManager> permissionsManager;
        std::shared_ptr<AuthenticationProviding> authManager;
        std::shared_ptr<ApplicationIconProviding> icons;
        std::shared_ptr<ApplicationPicker> applicationPicker;
        std::shared_ptr<AlertPresenting> alerts;
        std::shared_ptr<UrlOpening> urlOpener;
        /// Asked to end by "Quit"; the application delegate asks for authentication first.
        std::shared_ptr<HostApplication> application;
        std::shared_ptr<RunLoop> runLoop;
        /// What each settings popover is made with; its updater is asked for when it opens.
        std::function<SettingsPopupViewModel::Collaborators()> settingsPopup;
        /// May be null: no failed attempts are shown then.
        std::shared_ptr<FailedAttempts> failedAttempts{};
        /// The clock the failed attempts' times are told against.
        std::shared_ptr<TimeProviding> clock{};
    };

    /// A dot and a word at the trailing end of the header.
    struct HeaderStatus {
        std::string_view text;
        NamedColor dotColor = NamedColor::red;
        /// Red is drawn at `MenuBarDropdownStyle::notProtectedOpacity`.
        NamedColor textColor = NamedColor::red;

        friend bool operator==(const HeaderStatus&, const HeaderStatus&) = default;
    };

    /// A band for one missing permission; clicking it leads to the permission's pane.
    struct WarningRow {
        PermissionType permission = PermissionType::accessibility;
        std::string_view symbol;
        std::string_view title;
        std::string_view subtitle;

        friend bool operator==(const WarningRow&, const WarningRow&) = default;
    };

    /// A band that needs the owner: its text, and what its buttons do.
    struct Notice {
        std::string title;
        std::string detail;

        friend bool operator==(const Notice&, const Notice&) = default;
    };

    static constexpr std::string_view title = "Velmora";
    /// Drawn upper-cased, with the number of entries at the trailing end.
    static constexpr std::string_view protectedAppsTitle = "Protected Apps";
    static constexpr std::string_view warningChevronSymbol = "chevron.right";
    static constexpr std::string_view emptySymbol = "lock.shield";
    static constexpr std::string_view emptyText = "No protected apps";
    static constexpr std::string_view addAppTitle = "Add App";
    static constexpr std::string_view addAppSymbol = "plus";
    static constexpr std::string_view lockAllTitle = "Lock All";
    static constexpr std::string_view lockAllSymbol = "lock.fill";
    static constexpr std::string_view settingsSymbol = "gear";
    static constexpr std::string_view quitTitle = "Quit";
    static constexpr std::string_view listMissingTitle = "The protected apps list is missing";
    static constexpr std::string_view listUnreadableTitle =
        "The protected apps list cannot be read";
    static constexpr std::string_view listWeakenedTitle = "The protected apps list was changed";
    static constexpr std::string_view keptAppsPrefix = "Still protected: ";
    static constexpr std::string_view listNoticeSymbol = "exclamationmark.triangle.fill";
    static constexpr std::string_view saveFailureSymbol = "exclamationmark.circle.fill";
    static constexpr std::string_view failedAttemptsSymbol = "key.fill";
    static constexpr std::string_view keepListTitle = "Keep Changes";
    static constexpr std::string_view restoreListTitle = "Restore";
    static constexpr std::string_view keepListReason =
        "Authenticate to keep the changed list of protected apps";
    static constexpr std::string_view restoreListReason =
        "Authenticate to restore the list of protected apps";
    static constexpr std::string_view saveFailureTitle = "Couldn't save the protected apps list";
    static constexpr std::string_view saveFailureDetail =
        "Velmora keeps trying; until then a restart may forget the last change.";
    static constexpr std::string_view dismissTitle = "Dismiss";
    static constexpr std::string_view dismissReason = "Authenticate to dismiss the failed attempts";
    static constexpr std::string_view invalidApplicationMessage = "Invalid Application";
    static constexpr std::string_view invalidApplicationText =
        "Could not read bundle information from the selected application. Please try selecting "
        "a different .app file.";

    static std::shared_ptr<MenuBarDropdownViewModel> create(Collaborators collaborators);
    MenuBarDropdownViewModel(Passkey, Collaborators collaborators);

    Observable<HeaderStatus> headerStatus;
    /// Accessibility's first.
    Observable<std::vector<WarningRow>> warningRows;
    /// One per entry, in list order; a row keeps its state while its entry stays.
    Observable<std::vector<std::shared_ptr<ProtectedAppRowViewModel>>> rows;
    /// Disabled, and drawn at half opacity, while no protected application holds an unlock.
    Observable<bool> lockAllEnabled{false};
    Observable<bool> showSettingsPopover{false};
    /// The popover's content while it is open, a new one each time it opens.
    Observable<std::shared_ptr<SettingsPopupViewModel>> settingsPopup;
    /// While the stored list protects less than Velmora last saved; "Keep Changes" and
    /// "Restore" settle it.
    Observable<std::optional<Notice>> storedListNotice;
    /// While saving the list fails.
    Observable<std::optional<Notice>> saveFailureNotice;
    /// "3 failed attempts since 14:02" until the owner dismisses them.
    Observable<std::optional<std::string>> failedAttemptsText;
    /// While one of the notices' buttons waits for authentication.
    Observable<bool> isAuthenticatingNotice{false};

    /// The section header's count.
    [[nodiscard]] std::size_t protectedAppCount() const { return rows.get().size(); }
    /// Rows are separated by dividers; none follows the last.
    [[nodiscard]] bool showsDividerAfter(std::size_t row) const {
        return row + 1 < rows.get().size();
    }

    /// Re-reads what the engine does not publish (which applications hold an unlock).
    void refresh();
    void warningTapped(PermissionType permission);
    void addApp();
    void lockAll();
    /// The gear button.
    void toggleSettingsPopover();
    /// The popover closed on its own (a click outside it).
    void settingsPopoverClosed();
    void quit();
    /// Each asks for authentication first.
    void keepStoredList();
    void restoreProtectedList();
    void dismissFailedAttempts();

private:
    void updatePermissions();
    void updateStoredListNotice();
    void updateFailedAttempts();
    void afterAuthentication(std::string_view reason, std::function<void()> action);
    void rebuildRows(const std::vector<ProtectedApp>& apps);

    Collaborators collaborators_;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
