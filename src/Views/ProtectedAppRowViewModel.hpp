#pragma once

#include "Core/LockEngine/LockEngine.hpp"
#include "Models/AppState.hpp"
#include "Models/ProtectedApp.hpp"
#include "Platform/ApplicationIcons.hpp"
#include "Services/AuthenticationProviding.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/Observable.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// "10 sec" for 0 minutes, "1 min", otherwise the minutes followed by " min".
[[nodiscard]] std::string timeoutLabel(std::int64_t minutes);

/// One protected application's row in the menu-bar panel: icon, name with its idle time-out,
/// lock status and, expanded, its settings, "Lock Now" and "Remove".
///
///     auto row = ProtectedAppRowViewModel::create(collaborators, app);
///     row->toggleExpanded();
///     row->chooseTimeout(15);    // through AppState; the panel hands the row the new copy
///     row->remove();             // asks for authentication first
///
/// What weakens protection (a longer time-out, auto-lock off, removal) waits for the owner's
/// authentication; what strengthens it is done at once. The row never edits its copy of the
/// entry. Main thread only.
class ProtectedAppRowViewModel final
    : public std::enable_shared_from_this<ProtectedAppRowViewModel> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<AppState> appState;
        std::shared_ptr<LockEngine> lockEngine;
        std::shared_ptr<PermissionsManager> permissionsManager;
        std::shared_ptr<AuthenticationProviding> authManager;
        std::shared_ptr<ApplicationIconProviding> icons;
        /// Runs after the row locked its application, so that the panel shows it; may be empty.
        std::function<void()> onLocked;
    };

    enum class Badge { inactive, unlocked, locked };

    struct BadgeContent {
        std::string_view symbol;
        std::string_view text;
        /// Only "Unlocked" is a button, which locks the application.
        bool isButton = false;
        std::string_view help;
    };

    struct TimeoutOption {
        std::string_view label;
        std::int64_t value;
    };

    /// The picker's choices, in this order; 0 is the ten-second setting.
    static constexpr std::array<TimeoutOption, 8> timeoutOptions{{{"10 sec", 0},
                                                                  {"1 min", 1},
                                                                  {"2 min", 2},
                                                                  {"5 min", 5},
                                                                  {"10 min", 10},
                                                                  {"15 min", 15},
                                                                  {"30 min", 30},
                                                                  {"60 min", 60}}};

    static constexpr std::string_view placeholderSymbol = "app.fill";
    static constexpr std::string_view summarySeparator = "•";
    static constexpr std::string_view chevronSymbol = "chevron.down";
    static constexpr std::string_view timeoutTitle = "Auto-lock after";
    static constexpr std::string_view autoLockTitle = "Auto-lock enabled";
    static constexpr std::string_view lockNowTitle = "Lock Now";
    static constexpr std::string_view lockNowSymbol = "lock.fill";
    static constexpr std::string_view removeTitle = "Remove";
    static constexpr std::string_view removeSymbol = "trash";
    static constexpr std::string_view removalReasonPrefix = "Authenticate to remove ";
    static constexpr std::string_view removalReasonSuffix = " from protected apps";
    static constexpr std::string_view changeReasonPrefix = "Authenticate to change protection for ";

    [[nodiscard]] static BadgeContent badgeContent(Badge badge);

    static std::shared_ptr<ProtectedAppRowViewModel> create(Collaborators collaborators,
                                                            ProtectedApp app);
    ProtectedAppRowViewModel(Passkey, Collaborators collaborators, ProtectedApp app);

    /// The row's copy of its entry; the panel replaces it when the list changes.
    Observable<ProtectedApp> app;
    Observable<bool> isExpanded{false};
    Observable<std::optional<std::string>> cachedIcon;
    Observable<bool> isAuthenticatingRemoval{false};
    /// While a weakening change waits for authentication.
    Observable<bool> isAuthenticatingChange{false};
    Observable<Badge> badge{Badge::inactive};
    Observable<bool> showsLockNow{false};

    /// `timeoutLabel` after the name while auto-lock is on; nothing otherwise.
    [[nodiscard]] std::optional<std::string> summaryTimeout() const;
    [[nodiscard]] std::string removalReason() const;
    /// "Authenticate to change protection for " and the name.
    [[nodiscard]] std::string changeReason() const;

    /// Fetches the icon once, when the row is first drawn.
    void loadIcon();
    /// A click on the collapsed line outside the "Unlocked" badge.
    void toggleExpanded();
    /// A click on the badge: locks when it reads "Unlocked".
    void badgeTapped();
    void lockNow();
    /// A longer time-out than now asks for authentication first.
    void chooseTimeout(std::int64_t minutes);
    /// Turning auto-lock off asks for authentication first.
    void setAutoLockEnabled(bool enabled);
    /// Removes the entry once the owner authenticated; a second click meanwhile does nothing.
    void remove();
    /// Re-reads the lock status, which the engine does not publish for every change.
    void refreshLockStatus();

private:
    void lock();
    /// Applies `change` once the owner authenticated; nothing while another change waits.
    void afterAuthentication(std::function<void(AppState&, const std::string& id)> change);

    Collaborators collaborators_;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
