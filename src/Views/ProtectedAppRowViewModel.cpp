#include "Views/ProtectedAppRowViewModel.hpp"

#include <algorithm>

namespace velmora {

std::string timeoutLabel(std::int64_t minutes) {
    if (minutes == 0) {
        return "10 sec";
    }
    return std::to_string(minutes) + " min";
}

ProtectedAppRowViewModel::BadgeContent ProtectedAppRowViewModel::badgeContent(Badge badge) {
    switch (badge) {
    case Badge::inactive:
        return {"exclamationmark.triangle.fill", "Inactive", false, {}};
    case Badge::unlocked:
        return {"lock.open.fill", "Unlocked", true, "Click to lock this app"};
    case Badge::locked:
        break;
    }
    return {"lock.fill", "Locked", false, {}};
}

std::shared_ptr<ProtectedAppRowViewModel>
ProtectedAppRowViewModel::create(Collaborators collaborators, ProtectedApp app) {
    return std::make_shared<ProtectedAppRowViewModel>(Passkey{}, std::move(collaborators),
                                                      std::move(app));
}

ProtectedAppRowViewModel::ProtectedAppRowViewModel(Passkey, Collaborators collaborators,
                                                   ProtectedApp app)
    : app(std::move(app)), collaborators_(std::move(collaborators)) {
    auto& engine = *collaborators_.lockEngine;
    const auto refresh = [this](const auto&) { refreshLockStatus(); };
    subscriptions_.push_back(
        collaborators_.permissionsManager->requiredPermissionsGranted().subscribe(refresh));
    subscriptions_.push_back(engine.currentState().subscribeToChanges(refresh));
    subscriptions_.push_back(engine.isAuthenticating().subscribeToChanges(refresh));
    subscriptions_.push_back(engine.currentLockedBundleId().subscribeToChanges(refresh));
}

std::optional<std::string> ProtectedAppRowViewModel::summaryTimeout() const {
    if (!app.get().autoLockEnabled) {
        return std::nullopt;
    }
    return timeoutLabel(app.get().idleTimeoutMinutes);
}

std::string ProtectedAppRowViewModel::removalReason() const {
    return std::string(removalReasonPrefix) + app.get().displayName +
           std::string(removalReasonSuffix);
}

void ProtectedAppRowViewModel::refreshLockStatus() {
    const bool granted = collaborators_.permissionsManager->requiredPermissionsGranted().get();
    const bool unlocked = collaborators_.lockEngine->isAppUnlocked(app.get().bundleIdentifier);
    badge.setIfChanged(!granted ? Badge::inactive : unlocked ? Badge::unlocked : Badge::locked);
    showsLockNow.setIfChanged(granted && unlocked);
}

void ProtectedAppRowViewModel::loadIcon() {
    if (cachedIcon.get()) {
        return;
    }
    const auto location = collaborators_.icons->urlForApplication(app.get().bundleIdentifier);
    if (!location) {
        return;
    }
    cachedIcon.set(collaborators_.icons->iconForFile(*location));
}

void ProtectedAppRowViewModel::toggleExpanded() {
    isExpanded.set(!isExpanded.get());
}

void ProtectedAppRowViewModel::badgeTapped() {
    if (badge.get() == Badge::unlocked) {
        lock();
    }
}

void ProtectedAppRowViewModel::lockNow() {
    if (showsLockNow.get()) {
        lock();
    }
}

void ProtectedAppRowViewModel::lock() {
    collaborators_.lockEngine->lockApp(app.get().bundleIdentifier);
    refreshLockStatus();
    if (collaborators_.onLocked) {
        collaborators_.onLocked();
    }
}

std::string ProtectedAppRowViewModel::changeReason() const {
    return std::string(changeReasonPrefix) + app.get().displayName;
}

void ProtectedAppRowViewModel::chooseTimeout(std::int64_t minutes) {
    minutes = std::clamp(minutes, AppState::shortestIdleTimeoutMinutes,
                         AppState::longestIdleTimeoutMinutes);
    if (minutes <= app.get().idleTimeoutMinutes) {
        collaborators_.appState->setIdleTimeoutMinutes(app.get().id, minutes);
        return;
    }
    afterAuthentication([minutes](AppState& state, const std::string& id) {
        state.setIdleTimeoutMinutes(id, minutes);
    });
}

void ProtectedAppRowViewModel::setAutoLockEnabled(bool enabled) {
    if (enabled || !app.get().autoLockEnabled) {
        collaborators_.appState->setAutoLockEnabled(app.get().id, enabled);
        return;
    }
    afterAuthentication(
        [](AppState& state, const std::string& id) { state.setAutoLockEnabled(id, false); });
}

void ProtectedAppRowViewModel::afterAuthentication(
    std::function<void(AppState&, const std::string& id)> change) {
    if (isAuthenticatingChange.get()) {
        return;
    }
    isAuthenticatingChange.set(true);
    // Like a removal, the change outlives the row.
    collaborators_.authManager->authenticate(
        changeReason(), app.get().displayName,
        [weak = weak_from_this(), appState = collaborators_.appState, id = app.get().id,
         change = std::move(change)](const AuthResult& result) {
            if (auto self = weak.lock()) {
                self->isAuthenticatingChange.set(false);
            }
            if (result.isSuccess()) {
                change(*appState, id);
            }
        });
}

void ProtectedAppRowViewModel::remove() {
    if (isAuthenticatingRemoval.get()) {
        return;
    }
    isAuthenticatingRemoval.set(true);
    // The removal outlives the row: the panel may rebuild or close while the prompt is up.
    collaborators_.authManager->authenticate(
        removalReason(), app.get().displayName,
        [weak = weak_from_this(), appState = collaborators_.appState,
         id = app.get().id](const AuthResult& result) {
            if (auto self = weak.lock()) {
                self->isAuthenticatingRemoval.set(false);
            }
            if (!result.isSuccess()) {
                return;
            }
            auto apps = appState->protectedApps().get();
            std::erase_if(apps, [&](const ProtectedApp& entry) { return entry.id == id; });
            appState->protectedApps().set(std::move(apps));
            appState->saveProtectedApps();
        });
}

} // namespace velmora
