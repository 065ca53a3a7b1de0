#pragma once

#include "Models/FrontmostAppMonitor.hpp"
#include "Models/ProtectedApp.hpp"
#include "Models/ProtectedListMerge.hpp"
#include "Platform/BundleReading.hpp"
#include "Platform/StateStore.hpp"
#include "Platform/UserDefaults.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Support/FrontmostAppInfo.hpp"
#include "Support/Logging.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct Platform;

/// What is protected, kept in the user defaults, and which application is in front.
///
///     auto state = AppState::shared();
///     if (auto app = state->makeProtectedApp("/Applications/Notes.app")) {
///         state->addApp(*app);
///         state->setIdleTimeoutMinutes(app->id, 10);
///     }
///     Subscription s = state->protectedApps().subscribe([](const auto& apps) { redraw(apps); });
///
/// Callers that change `protectedApps()` directly call `saveProtectedApps()` afterwards.
/// Stored data that cannot be read is kept aside under "protectedApps.unreadable" before
/// anything overwrites it. Main thread only.
///
/// The list fails closed. Every save also writes a copy to the state store; at start a
/// stored list that is missing, unreadable or protects less than that copy is merged with it
/// (`mergeProtectedLists`), and `storedListProblem()` stands until the owner settles it with
/// `keepStoredList()` or `restoreProtectedList()` (each after authenticating). A save that
/// fails sets `saveFailing()` and is tried again, 5 s later at first, then less often.
class AppState final : public std::enable_shared_from_this<AppState> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<UserDefaults> userDefaults;
        std::shared_ptr<BundleReading> bundleReader;
        std::shared_ptr<WorkspaceProviding> workspace;
        std::shared_ptr<RunLoop> runLoop;
        std::shared_ptr<Logging> logger;
        /// The clock for the date of new entries.
        std::shared_ptr<TimeProviding> timeProvider;
        /// Where the copy of the last list written is kept; may be null (no copy then).
        std::shared_ptr<StateStore> stateStore{};
    };

    static constexpr std::int64_t shortestIdleTimeoutMinutes = 0;
    static constexpr std::int64_t longestIdleTimeoutMinutes = 60;
    /// The copy's name in the state store.
    static constexpr std::string_view copyName = "protected-apps.json";
    static constexpr Seconds firstSaveRetry{5.0};
    static constexpr Seconds longestSaveRetry{60.0};

    /// The process-wide instance, made on first use from the installed platform.
    static std::shared_ptr<AppState> shared();
    /// The collaborators from `platform`'s services.
    static Collaborators collaborators(const Platform& platform);

    /// Loads the stored list and starts following the frontmost application; the first
    /// frontmost value arrives on a later turn of the main queue.
    static std::shared_ptr<AppState> create(Collaborators collaborators);
    AppState(Passkey, Collaborators collaborators);

    /// In insertion order. Observers see the current list at once, then every change.
    [[nodiscard]] Observable<std::vector<ProtectedApp>>& protectedApps() { return protectedApps_; }
    [[nodiscard]] const std::vector<ProtectedApp>& protectedApps() const {
        return protectedApps_.get();
    }
    /// A copy of the monitor's current value, assigned on the main queue after each change.
    [[nodiscard]] Observable<FrontmostAppInfo>& frontmostAppInfo() { return frontmostAppInfo_; }
    [[nodiscard]] const std::string& userDefaultsKey() const { return userDefaultsKey_; }
    [[nodiscard]] FrontmostAppMonitor& frontmostAppMonitor() { return *frontmostAppMonitor_; }
    /// Set at start when the stored list protected less than the copy; cleared once settled.
    [[nodiscard]] Observable<std::optional<StoredListProblem>>& storedListProblem() {
        return storedListProblem_;
    }
    /// True from a save that failed until one succeeds.
    [[nodiscard]] Observable<bool>& saveFailing() { return saveFailing_; }

    /// Whether some entry has exactly this bundle identifier, whatever its settings.
    [[nodiscard]] bool isProtected(const std::string& bundleIdentifier) const;
    /// The first entry with this bundle identifier.
    [[nodiscard]] std::optional<ProtectedApp>
    protectedApp(const std::string& bundleIdentifier) const;
    /// A new entry for the application bundle at `location`, not yet added; nothing when the
    /// location is not a bundle with an identifier.
    [[nodiscard]] std::optional<ProtectedApp> makeProtectedApp(const std::string& location) const;

    /// Appends and saves, unless an entry with the same bundle identifier exists.
    void addApp(ProtectedApp app);
    void setAutoLockEnabled(const std::string& id, bool enabled);
    /// Clamps to 0...60 minutes.
    void setIdleTimeoutMinutes(const std::string& id, std::int64_t minutes);
    void saveProtectedApps();
    /// Adds window classes and programs to the entry with this bundle identifier, and saves
    /// when that taught it anything new.
    void learnIdentities(const std::string& bundleIdentifier,
                         const std::vector<std::string>& windowClasses,
                         const std::vector<std::string>& executables);
    /// Settles the stored-list problem the stored list's way: what only the copy protected
    /// is dropped and the stored settings return. The caller has authenticated the owner.
    void keepStoredList();
    /// Settles it by saving what is protected now.
    void restoreProtectedList();

private:
    void loadProtectedApps();
    void bindFrontmostApp();
    /// Stores the unreadable data under a key of its own; false if it could not be stored,
    /// and then nothing may overwrite the original.
    bool keepUnreadableDataAside();
    template <class Change> void changeEntry(const std::string& id, Change change);
    /// Writes the list and its copy; false when either could not be written.
    bool writeProtectedApps(std::string& failure);
    [[nodiscard]] std::vector<ProtectedApp> readCopy() const;
    void scheduleSaveRetry();

    Observable<std::vector<ProtectedApp>> protectedApps_;
    Observable<FrontmostAppInfo> frontmostAppInfo_{FrontmostAppInfo::unknown()};
    const std::string userDefaultsKey_ = "protectedApps";
    Collaborators collaborators_;
    std::shared_ptr<FrontmostAppMonitor> frontmostAppMonitor_;
    std::vector<Subscription> cancellables_;
    /// Stored data that could not be read and is not yet kept aside, with the reason.
    std::optional<std::string> unreadableData_;
    std::string unreadableReason_;
    Observable<std::optional<StoredListProblem>> storedListProblem_;
    /// While a problem stands: the stored entries as read at start, and the bundle
    /// identifiers that only the copy held.
    std::vector<ProtectedApp> storedAtStart_;
    std::vector<std::string> copyOnly_;
    Observable<bool> saveFailing_{false};
    Seconds nextSaveRetry_ = firstSaveRetry;
    TimerHandle saveRetry_;
};

} // namespace velmora
