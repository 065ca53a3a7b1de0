#include "Models/AppState.hpp"

#include "Models/ProtectedAppsCoding.hpp"
#include "Platform/Platform.hpp"

#include <algorithm>
#include <iostream>

namespace velmora {

namespace {

constexpr std::int64_t kShortestIdleTimeoutMinutes = 0;
constexpr std::int64_t kLongestIdleTimeoutMinutes = 60;

void printFailure(std::string_view prefix, std::string_view description) {
    std::cout << prefix << description << std::endl;
}

} // namespace

std::shared_ptr<AppState> AppState::shared() {
    static const std::shared_ptr<AppState> instance = [] {
        const Platform& platform = installedPlatform();
        requirePlatformServices(platform.userDefaults && platform.bundleReader &&
                                    platform.workspace && platform.logger && platform.timeProvider,
                                "AppState");
        return create(collaborators(platform));
    }();
    return instance;
}

AppState::Collaborators AppState::collaborators(const Platform& platform) {
    return {
        .userDefaults = platform.userDefaults,
        .bundleReader = platform.bundleReader,
        .workspace = platform.workspace,
        .runLoop = platform.runLoop,
        .logger = platform.logger,
        .timeProvider = platform.timeProvider,
    };
}

std::shared_ptr<AppState> AppState::create(Collaborators collaborators) {
    auto state = std::make_shared<AppState>(Passkey{}, std::move(collaborators));
    state->loadProtectedApps();
    state->bindFrontmostApp();
    if (!state->frontmostAppMonitor_->isMonitoring()) {
        state->frontmostAppMonitor_->startMonitoring();
    }
    return state;
}

AppState::AppState(Passkey, Collaborators collaborators)
    : collaborators_(std::move(collaborators)),
      frontmostAppMonitor_(FrontmostAppMonitor::create(collaborators_.workspace)) {}

bool AppState::isProtected(const std::string& bundleIdentifier) const {
    const auto& apps = protectedApps_.get();
    return std::any_of(apps.begin(), apps.end(), [&](const ProtectedApp& app) {
        return app.bundleIdentifier == bundleIdentifier;
    });
}

std::optional<ProtectedApp> AppState::protectedApp(const std::string& bundleIdentifier) const {
    const auto& apps = protectedApps_.get();
    const auto it = std::find_if(apps.begin(), apps.end(), [&](const ProtectedApp& app) {
        return app.bundleIdentifier == bundleIdentifier;
    });
    if (it == apps.end()) {
        return std::nullopt;
    }
    return *it;
}

std::optional<ProtectedApp> AppState::makeProtectedApp(const std::string& location) const {
    return velmora::makeProtectedApp(location, *collaborators_.bundleReader,
                                     collaborators_.timeProvider->now());
}

void AppState::addApp(ProtectedApp app) {
    if (isProtected(app.bundleIdentifier)) {
        return;
    }
    auto apps = protectedApps_.get();
    apps.push_back(std::move(app));
    protectedApps_.set(std::move(apps));
    saveProtectedApps();
}

template <class Change> void AppState::changeEntry(const std::string& id, Change change) {
    auto apps = protectedApps_.get();
    const auto it = std::find_if(apps.begin(), apps.end(),
                                 [&](const ProtectedApp& app) { return app.id == id; });
    if (it == apps.end()) {
        return;
    }
    change(*it);
    protectedApps_.set(std::move(apps));
    saveProtectedApps();
}

void AppState::setAutoLockEnabled(const std::string& id, bool enabled) {
    changeEntry(id, [enabled](ProtectedApp& app) { app.autoLockEnabled = enabled; });
}

void AppState::setIdleTimeoutMinutes(const std::string& id, std::int64_t minutes) {
    const auto clamped =
        std::clamp(minutes, kShortestIdleTimeoutMinutes, kLongestIdleTimeoutMinutes);
    changeEntry(id, [clamped](ProtectedApp& app) { app.idleTimeoutMinutes = clamped; });
}

void AppState::saveProtectedApps() {
    // Encoded in full before anything is stored, so a failure leaves the stored list whole.
    std::string error;
    auto data = encodeProtectedApps(protectedApps_.get(), &error);
    if (!data) {
        printFailure("Failed to save protected apps: ", error);
        return;
    }
    if (!keepUnreadableDataAside()) {
        printFailure("Failed to save protected apps: ",
                     "the unreadable stored list could not be kept aside");
        return;
    }
    if (!collaborators_.userDefaults->setData(userDefaultsKey_, std::move(*data))) {
        printFailure("Failed to save protected apps: ", "the user defaults refused the data");
    }
}

void AppState::loadProtectedApps() {
    auto data = collaborators_.userDefaults->data(userDefaultsKey_);
    if (!data) {
        return;
    }
    std::string error;
    if (auto apps = decodeProtectedApps(*data, &error)) {
        protectedApps_.set(std::move(*apps));
        return;
    }
    printFailure("Failed to load protected apps: ", error);
    unreadableData_ = std::move(*data);
    unreadableReason_ = std::move(error);
    keepUnreadableDataAside();
}

bool AppState::keepUnreadableDataAside() {
    if (!unreadableData_) {
        return true;
    }
    UserDefaults& defaults = *collaborators_.userDefaults;
    const std::string baseKey = userDefaultsKey_ + ".unreadable";
    // An older copy kept aside is never replaced by a different one.
    std::string key = baseKey;
    for (int copy = 2;; ++copy) {
        const auto existing = defaults.data(key);
        if (!existing) {
            break;
        }
        if (*existing == *unreadableData_) {
            // Still unreadable at this start: said again, so no start passes over it quietly.
            collaborators_.logger->error("Stored protected apps could not be read (" +
                                         unreadableReason_ + "); already kept aside under \"" +
                                         key + "\"");
            unreadableData_.reset();
            return true;
        }
        key = baseKey + "." + std::to_string(copy);
    }
    if (!defaults.setData(key, *unreadableData_)) {
        collaborators_.logger->error("Stored protected apps could not be read (" +
                                     unreadableReason_ + ") nor kept aside under \"" + key +
                                     "\"; they stay in place until they can be");
        return false;
    }
    collaborators_.logger->error("Stored protected apps could not be read (" + unreadableReason_ +
                                 "); kept aside under \"" + key + "\" (" +
                                 std::to_string(unreadableData_->size()) + " bytes)");
    unreadableData_.reset();
    return true;
}

void AppState::bindFrontmostApp() {
    cancellables_.push_back(frontmostAppMonitor_->currentAppInfoPublisher(
        [weak = weak_from_this(), runLoop = collaborators_.runLoop](const FrontmostAppInfo& info) {
            runLoop->post([weak, info] {
                if (auto self = weak.lock()) {
                    self->frontmostAppInfo_.set(info);
                }
            });
        }));
}

} // namespace velmora
