#include "Views/MenuBarDropdownViewModel.hpp"

#include "Support/DateDescription.hpp"
#include "Support/Lifetime.hpp"

#include <algorithm>

namespace velmora {

std::shared_ptr<MenuBarDropdownViewModel>
MenuBarDropdownViewModel::create(Collaborators collaborators) {
    auto model = std::make_shared<MenuBarDropdownViewModel>(Passkey{}, std::move(collaborators));
    const auto weak = std::weak_ptr(model);
    const auto refresh =
        ifAlive(weak, [](MenuBarDropdownViewModel& self, const auto&) { self.refresh(); });
    const auto permissions = ifAlive(
        weak, [](MenuBarDropdownViewModel& self, const auto&) { self.updatePermissions(); });
    auto& manager = *model->collaborators_.permissionsManager;
    auto& engine = *model->collaborators_.lockEngine;
    auto& subscriptions = model->subscriptions_;
    subscriptions.push_back(manager.accessibilityStatus().subscribe(permissions));
    subscriptions.push_back(manager.inputMonitoringStatus().subscribeToChanges(permissions));
    subscriptions.push_back(manager.requiredPermissionsGranted().subscribeToChanges(permissions));
    subscriptions.push_back(model->collaborators_.appState->protectedApps().subscribe(
        ifAlive(weak, &MenuBarDropdownViewModel::rebuildRows)));
    auto& state = *model->collaborators_.appState;
    subscriptions.push_back(state.storedListProblem().subscribe(ifAlive(
        weak, [](MenuBarDropdownViewModel& self, const auto&) { self.updateStoredListNotice(); })));
    subscriptions.push_back(state.saveFailing().subscribe(
        ifAlive(weak, [](MenuBarDropdownViewModel& self, bool failing) {
            self.saveFailureNotice.setIfChanged(
                failing ? std::optional(
                              Notice{std::string(saveFailureTitle), std::string(saveFailureDetail)})
                        : std::nullopt);
        })));
    if (const auto& attempts = model->collaborators_.failedAttempts) {
        subscriptions.push_back(attempts->undismissed().subscribe(
            ifAlive(weak, [](MenuBarDropdownViewModel& self, const auto&) {
                self.updateFailedAttempts();
            })));
    }
    subscriptions.push_back(engine.currentState().subscribeToChanges(refresh));
    subscriptions.push_back(engine.isAuthenticating().subscribeToChanges(refresh));
    subscriptions.push_back(engine.currentLockedBundleId().subscribeToChanges(refresh));
    return model;
}

MenuBarDropdownViewModel::MenuBarDropdownViewModel(Passkey, Collaborators collaborators)
    : collaborators_(std::move(collaborators)) {}

void MenuBarDropdownViewModel::updatePermissions() {
    auto& manager = *collaborators_.permissionsManager;
    headerStatus.setIfChanged(
        manager.requiredPermissionsGranted().get()
            ? HeaderStatus{"Protected", NamedColor::green, NamedColor::secondary}
            : HeaderStatus{"Not Protected", NamedColor::red, NamedColor::red});
    std::vector<WarningRow> warnings;
    if (manager.accessibilityStatus().get() != PermissionStatus::granted) {
        warnings.push_back({PermissionType::accessibility, "hand.raised.fill",
                            "Accessibility Required", "Required for app protection to work"});
    }
    if (manager.inputMonitoringStatus().get() != PermissionStatus::granted) {
        warnings.push_back({PermissionType::inputMonitoring, "keyboard",
                            "Input Monitoring Required", "Required for accurate idle detection"});
    }
    warningRows.setIfChanged(std::move(warnings));
}

void MenuBarDropdownViewModel::rebuildRows(const std::vector<ProtectedApp>& apps) {
    std::vector<std::shared_ptr<ProtectedAppRowViewModel>> next;
    for (const ProtectedApp& app : apps) {
        const auto& current = rows.get();
        const auto kept = std::find_if(current.begin(), current.end(), [&](const auto& row) {
            return row->app.get().id == app.id;
        });
        if (kept != current.end()) {
            (*kept)->app.setIfChanged(app);
            next.push_back(*kept);
            continue;
        }
        next.push_back(ProtectedAppRowViewModel::create(
            {
                .appState = collaborators_.appState,
                .lockEngine = collaborators_.lockEngine,
                .permissionsManager = collaborators_.permissionsManager,
                .authManager = collaborators_.authManager,
                .icons = collaborators_.icons,
                .onLocked = ifAlive(weak_from_this(), &MenuBarDropdownViewModel::refresh),
            },
            app));
    }
    rows.setIfChanged(std::move(next));
    refresh();
}

void MenuBarDropdownViewModel::refresh() {
    lockAllEnabled.setIfChanged(!collaborators_.lockEngine->unlockedProtectedApps().empty());
    for (const auto& row : rows.get()) {
        row->refreshLockStatus();
    }
}

void MenuBarDropdownViewModel::warningTapped(PermissionType permission) {
    if (permission == PermissionType::accessibility) {
        collaborators_.urlOpener->open(std::string(PermissionsManager::accessibilitySettingsUrl));
        return;
    }
    collaborators_.permissionsManager->requestInputMonitoring();
    collaborators_.urlOpener->open(std::string(PermissionsManager::inputMonitoringSettingsUrl));
}

void MenuBarDropdownViewModel::addApp() {
    // The panel may be gone by the time the user chose: the choice needs only the model.
    collaborators_.applicationPicker->pickApplication(
        [appState = collaborators_.appState, alerts = collaborators_.alerts,
         runLoop = collaborators_.runLoop](const std::optional<std::string>& location) {
            if (!location) {
                return;
            }
            runLoop->post([appState, alerts, app = appState->makeProtectedApp(*location)] {
                if (app) {
                    appState->addApp(*app);
                } else {
                    alerts->showWarning(std::string(invalidApplicationMessage),
                                        std::string(invalidApplicationText));
                }
            });
        });
}

void MenuBarDropdownViewModel::lockAll() {
    if (!lockAllEnabled.get()) {
        return;
    }
    collaborators_.lockEngine->lockAllNow();
    refresh();
}

void MenuBarDropdownViewModel::toggleSettingsPopover() {
    if (showSettingsPopover.get()) {
        settingsPopoverClosed();
        return;
    }
    auto popup = std::make_shared<SettingsPopupViewModel>(collaborators_.settingsPopup());
    popup->appeared();
    settingsPopup.set(std::move(popup));
    showSettingsPopover.set(true);
}

void MenuBarDropdownViewModel::settingsPopoverClosed() {
    if (!showSettingsPopover.get()) {
        return;
    }
    showSettingsPopover.set(false);
    settingsPopup.set(nullptr);
}

void MenuBarDropdownViewModel::quit() {
    collaborators_.application->terminate();
}

void MenuBarDropdownViewModel::updateStoredListNotice() {
    const auto& problem = collaborators_.appState->storedListProblem().get();
    if (!problem) {
        storedListNotice.setIfChanged(std::nullopt);
        return;
    }
    std::string_view heading = listWeakenedTitle;
    if (problem->kind == StoredListProblem::Kind::missing) {
        heading = listMissingTitle;
    } else if (problem->kind == StoredListProblem::Kind::unreadable) {
        heading = listUnreadableTitle;
    }
    std::string names;
    for (const std::string& name : problem->keptApps) {
        names += (names.empty() ? "" : ", ") + name;
    }
    storedListNotice.setIfChanged(
        Notice{std::string(heading), std::string(keptAppsPrefix) + names});
}

void MenuBarDropdownViewModel::updateFailedAttempts() {
    const auto& attempts = collaborators_.failedAttempts->undismissed().get();
    if (attempts.empty()) {
        failedAttemptsText.setIfChanged(std::nullopt);
        return;
    }
    const TimePoint now = collaborators_.clock ? collaborators_.clock->now() : attempts.back().date;
    failedAttemptsText.setIfChanged(
        std::to_string(attempts.size()) +
        (attempts.size() == 1 ? " failed attempt since " : " failed attempts since ") +
        shortLocalDescription(attempts.front().date, now));
}

void MenuBarDropdownViewModel::keepStoredList() {
    afterAuthentication(keepListReason,
                        [appState = collaborators_.appState] { appState->keepStoredList(); });
}

void MenuBarDropdownViewModel::restoreProtectedList() {
    afterAuthentication(restoreListReason,
                        [appState = collaborators_.appState] { appState->restoreProtectedList(); });
}

void MenuBarDropdownViewModel::dismissFailedAttempts() {
    if (const auto attempts = collaborators_.failedAttempts) {
        afterAuthentication(dismissReason, [attempts] { attempts->dismiss(); });
    }
}

void MenuBarDropdownViewModel::afterAuthentication(std::string_view reason,
                                                   std::function<void()> action) {
    if (isAuthenticatingNotice.get()) {
        return;
    }
    isAuthenticatingNotice.set(true);
    // Done even when the panel has gone meanwhile: the owner asked for it.
    collaborators_.authManager->authenticate(
        std::string(reason),
        [weak = weak_from_this(), action = std::move(action)](const AuthResult& result) {
            if (auto self = weak.lock()) {
                self->isAuthenticatingNotice.set(false);
            }
            if (result.isSuccess()) {
                action();
            }
        });
}

} // namespace velmora
