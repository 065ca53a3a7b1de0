#pragma once

#include "Platform/HostApplication.hpp"
#include "Platform/KeyWindowClosing.hpp"
#include "Platform/UserDefaults.hpp"
#include "Services/PermissionsManager.hpp"
#include "Support/Observable.hpp"
#include "Support/RunLoop.hpp"
#include "Views/PermissionsViewModel.hpp"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace velmora {

/// The settings window's root: the permissions onboarding until setup is done, then a
/// confirmation that closes its window after two seconds.
///
///     auto model = MainContentViewModel::create(collaborators);
///     model->appeared();                       // the window is on screen
///     if (auto onboarding = model->onboarding.get()) { bind(*onboarding); }
///
/// Setup is done when both permissions are granted, or when Accessibility is and the user
/// pressed continue once ("userCompletedOnboarding", kept for good). Main thread only.
class MainContentViewModel final : public std::enable_shared_from_this<MainContentViewModel> {
    struct Passkey {};

public:
    struct Collaborators {
        std::shared_ptr<PermissionsManager> permissionsManager;
        std::shared_ptr<UserDefaults> userDefaults;
        std::shared_ptr<HostApplication> application;
        std::shared_ptr<KeyWindowClosing> windows;
        std::shared_ptr<Pasteboard> pasteboard;
        std::shared_ptr<RunLoop> runLoop;
        /// The application delegate's `raiseVisibleWindows`.
        std::function<void()> raiseVisibleWindows;
    };

    enum class Content { onboarding, setupComplete };

    static constexpr std::string_view userCompletedOnboardingKey = "userCompletedOnboarding";

    static constexpr std::string_view setupCompleteSymbol = "checkmark.circle.fill";
    static constexpr std::string_view setupCompleteTitle = "Setup Complete";
    static constexpr std::string_view setupCompleteMessage = "Velmora is running in your menu bar.";
    static constexpr std::string_view setupCompleteHint =
        "Click the lock icon to manage protected apps.";
    static constexpr Seconds raiseDelay{0.05};
    static constexpr Seconds closeDelay{2.0};

    static std::shared_ptr<MainContentViewModel> create(Collaborators collaborators);
    MainContentViewModel(Passkey, Collaborators collaborators);

    Observable<Content> content{Content::onboarding};
    /// The onboarding view's model while `content` is `onboarding`, a fresh one each time it
    /// comes back; null otherwise.
    Observable<std::shared_ptr<PermissionsViewModel>> onboarding;
    Observable<bool> userCompletedOnboarding{false};

    /// The view is on screen: brings the program in front of others and, while setup is
    /// complete, closes the key window two seconds later.
    void appeared();

private:
    void update();
    void completeOnboarding();
    void scheduleClose();

    Collaborators collaborators_;
    bool shown_ = false;
    std::vector<Subscription> subscriptions_;
};

} // namespace velmora
