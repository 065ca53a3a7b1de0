#include "Models/AppState.hpp"

#include "Models/ProtectedAppsCoding.hpp"
#include "Platform/Platform.hpp"

#include <algorithm>
#include <iostream>

namespace velmora {

namespace {

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
        .stateStore = platform.stateStore,
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
    const auto clamped = std::clamp(minutes, shortestIdleTimeoutMinutes, longestIdleTimeoutMinutes);
    changeEntry(id, [clamped](ProtectedApp& app) { app.idleTimeoutMinutes = clamped; });
}

void AppState::saveProtectedApps() {
    std::string failure;
    if (writeProtectedApps(failure)) {
        saveRetry_.invalidate();
        nextSaveRetry_ = firstSaveRetry;
        saveFailing_.setIfChanged(false);
        return;
    }
    printFailure("Failed to save protected apps: ", failure);
    saveFailing_.setIfChanged(true);
    scheduleSaveRetry();
}

bool AppState::writeProtectedApps(std::string& failure) {
    // Encoded in full before anything is stored, so a failure leaves the stored list whole.
    auto data = encodeProtectedApps(protectedApps_.get(), &failure);
    if (!data) {
        return false;
    }
    // The copy first and whatever happens to the list: should the list not be written, the
    // next start still protects what was just added.
    const bool copied =
        !collaborators_.stateStore || collaborators_.stateStore->write(copyName, *data);
    if (!keepUnreadableDataAside()) {
        failure = "the unreadable stored list could not be kept aside";
        return false;
    }
    if (!collaborators_.userDefaults->setData(userDefaultsKey_, std::move(*data))) {
        failure = "the user defaults refused the data";
        return false;
    }
    if (!copied) {
        failure = "the copy of the list could not be written";
    }
    return copied;
}

void AppState::scheduleSaveRetry() {
    if (saveRetry_.isValid() || !collaborators_.runLoop) {
        return;
    }
    const Seconds delay = nextSaveRetry_;
    nextSaveRetry_ = std::min(nextSaveRetry_ * 2, longestSaveRetry);
    saveRetry_ = collaborators_.runLoop->after(delay, [weak = weak_from_this()] {
        if (auto self = weak.lock()) {
            self->saveRetry_ = {};
            self->saveProtectedApps();
        }
    });
}

void AppState::learnIdentities(const std::string& bundleIdentifier,
                               const std::vector<std::string>& windowClasses,
                               const std::vector<std::string>& executables) {
    auto apps = protectedApps_.get();
    bool learned = false;
    const auto learn = [&learned](std::vector<std::string>& known,
                                  const std::vector<std::string>& seen) {
        for (const std::string& value : seen) {
            if (!value.empty() && std::find(known.begin(), known.end(), value) == known.end()) {
                known.push_back(value);
                learned = true;
            }
        }
    };
    for (ProtectedApp& app : apps) {
        if (app.bundleIdentifier == bundleIdentifier) {
            learn(app.windowClasses, windowClasses);
            learn(app.executables, executables);
        }
    }
    if (learned) {
        protectedApps_.set(std::move(apps));
        saveProtectedApps();
    }
}

void AppState::keepStoredList() {
    if (!storedListProblem_.get()) {
        return;
    }
    auto apps = protectedApps_.get();
    // Entries the owner added since start stay.
    std::erase_if(apps, [&](ProtectedApp& app) {
        const auto stored = std::find_if(storedAtStart_.begin(), storedAtStart_.end(),
                                         [&](const ProtectedApp& entry) {
                                             return entry.bundleIdentifier == app.bundleIdentifier;
                                         });
        if (stored != storedAtStart_.end()) {
            app.autoLockEnabled = stored->autoLockEnabled;
            app.idleTimeoutMinutes = stored->idleTimeoutMinutes;
            return false;
        }
        return std::find(copyOnly_.begin(), copyOnly_.end(), app.bundleIdentifier) !=
               copyOnly_.end();
    });
    collaborators_.logger->warn("The owner kept the stored list of protected apps");
    storedAtStart_.clear();
    copyOnly_.clear();
    storedListProblem_.set(std::nullopt);
    protectedApps_.set(std::move(apps));
    saveProtectedApps();
}

void AppState::restoreProtectedList() {
    if (!storedListProblem_.get()) {
        return;
    }
    collaborators_.logger->info("The owner restored the list of protected apps");
    storedAtStart_.clear();
    copyOnly_.clear();
    storedListProblem_.set(std::nullopt);
    saveProtectedApps();
}

void AppState::loadProtectedApps() {
    const auto copy = readCopy();
    std::optional<std::vector<ProtectedApp>> stored;
    auto whyNotStored = StoredListProblem::Kind::missing;
    if (auto data = collaborators_.userDefaults->data(userDefaultsKey_)) {
        std::string error;
        stored = decodeProtectedApps(*data, &error);
        if (!stored) {
            printFailure("Failed to load protected apps: ", error);
            whyNotStored = StoredListProblem::Kind::unreadable;
            unreadableData_ = std::move(*data);
            unreadableReason_ = std::move(error);
            keepUnreadableDataAside();
        }
    }
    auto merged = mergeProtectedLists(stored, whyNotStored, copy);
    if (merged.problem) {
        std::string names;
        for (const std::string& name : merged.problem->keptApps) {
            names += (names.empty() ? "" : ", ") + name;
        }
        collaborators_.logger->error(
            "The stored list of protected apps protects less than the copy last written; "
            "still protected: " +
            names);
        storedAtStart_ = stored.value_or(std::vector<ProtectedApp>{});
        for (const ProtectedApp& app : copy) {
            if (std::none_of(storedAtStart_.begin(), storedAtStart_.end(), [&](const auto& entry) {
                    return entry.bundleIdentifier == app.bundleIdentifier;
                })) {
                copyOnly_.push_back(app.bundleIdentifier);
            }
        }
        storedListProblem_.set(std::move(merged.problem));
    }
    if (!merged.apps.empty()) {
        protectedApps_.set(std::move(merged.apps));
    }
    // A list extended by hand counts from now on: the copy follows it.
    if (!storedListProblem_.get() && collaborators_.stateStore && stored && *stored != copy) {
        if (const auto data = encodeProtectedApps(protectedApps_.get())) {
            collaborators_.stateStore->write(copyName, *data);
        }
    }
}

std::vector<ProtectedApp> AppState::readCopy() const {
    const auto text =
        collaborators_.stateStore ? collaborators_.stateStore->read(copyName) : std::nullopt;
    if (!text) {
        return {};
    }
    std::string error;
    auto copy = decodeProtectedApps(*text, &error);
    if (!copy) {
        collaborators_.logger->error(
            "The copy of the protected apps last written cannot be read (" + error + ")");
        return {};
    }
    return std::move(*copy);
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
