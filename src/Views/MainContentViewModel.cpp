#include "Views/MainContentViewModel.hpp"

#include "Support/Lifetime.hpp"

namespace velmora {

std::shared_ptr<MainContentViewModel> MainContentViewModel::create(Collaborators collaborators) {
    auto model = std::make_shared<MainContentViewModel>(Passkey{}, std::move(collaborators));
    auto& manager = *model->collaborators_.permissionsManager;
    const auto update = ifAlive(std::weak_ptr(model),
                                [](MainContentViewModel& self, const bool&) { self.update(); });
    model->subscriptions_.push_back(
        manager.requiredPermissionsGranted().subscribeToChanges(update));
    model->subscriptions_.push_back(manager.allPermissionsGranted().subscribeToChanges(update));
    model->update();
    return model;
}

MainContentViewModel::MainContentViewModel(Passkey, Collaborators collaborators)
    : collaborators_(std::move(collaborators)) {
    userCompletedOnboarding.set(
        collaborators_.userDefaults->boolean(userCompletedOnboardingKey).value_or(false));
}

void MainContentViewModel::update() {
    auto& manager = *collaborators_.permissionsManager;
    const bool complete =
        manager.allPermissionsGranted().get() ||
        (manager.requiredPermissionsGranted().get() && userCompletedOnboarding.get());
    const Content next = complete ? Content::setupComplete : Content::onboarding;
    if (next == content.get() && (complete || onboarding.get())) {
        return;
    }
    if (complete) {
        onboarding.set(nullptr);
    } else {
        onboarding.set(PermissionsViewModel::create(
            {
                .permissionsManager = collaborators_.permissionsManager,
                .pasteboard = collaborators_.pasteboard,
                .application = collaborators_.application,
                .runLoop = collaborators_.runLoop,
            },
            ifAlive(weak_from_this(), &MainContentViewModel::completeOnboarding)));
    }
    content.set(next);
    if (complete && shown_) {
        scheduleClose();
    }
}

void MainContentViewModel::completeOnboarding() {
    collaborators_.userDefaults->setBool(userCompletedOnboardingKey, true);
    userCompletedOnboarding.setIfChanged(true);
    update();
}

void MainContentViewModel::appeared() {
    shown_ = true;
    collaborators_.application->activateIgnoringOtherApps();
    collaborators_.runLoop->after(raiseDelay,
                                  ifAlive(weak_from_this(), [](MainContentViewModel& self) {
                                      if (self.collaborators_.raiseVisibleWindows) {
                                          self.collaborators_.raiseVisibleWindows();
                                      }
                                  }));
    if (content.get() == Content::setupComplete) {
        scheduleClose();
    }
}

void MainContentViewModel::scheduleClose() {
    collaborators_.runLoop->after(closeDelay,
                                  ifAlive(weak_from_this(), [](MainContentViewModel& self) {
                                      self.collaborators_.windows->closeKeyWindow();
                                  }));
}

} // namespace velmora
