#pragma once

#include "Models/FrontmostAppMonitor.hpp"
#include "Models/ProtectedApp.hpp"
#include "Platform/BundleReading.hpp"
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
    };

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

private:
    void loadProtectedApps();
    void bindFrontmostApp();
    /// Stores the unreadable data under a key of its own; false if it could not be stored,
    /// and then nothing may overwrite the original.
    bool keepUnreadableDataAside();
    template <class Change> void changeEntry(const std::string& id, Change change);

    Observable<std::vector<ProtectedApp>> protectedApps_;
    Observable<FrontmostAppInfo> frontmostAppInfo_{FrontmostAppInfo::unknown()};
    const std::string userDefaultsKey_ = "protectedApps";
    Collaborators collaborators_;
    std::shared_ptr<FrontmostAppMonitor> frontmostAppMonitor_;
    std::vector<Subscription> cancellables_;
    /// Stored data that could not be read and is not yet kept aside, with the reason.
    std::optional<std::string> unreadableData_;
    std::string unreadableReason_;
};

} // namespace velmora
