#pragma once

#include "Platform/AccessibilityTrust.hpp"
#include "Platform/AlertPresenting.hpp"
#include "Platform/ApplicationIcons.hpp"
#include "Platform/ApplicationPicker.hpp"
#include "Platform/BundleReading.hpp"
#include "Platform/CoverWindows.hpp"
#include "Platform/EventTap.hpp"
#include "Platform/HostApplication.hpp"
#include "Platform/LoginItems.hpp"
#include "Platform/MainBundle.hpp"
#include "Platform/NotificationCenter.hpp"
#include "Platform/OverlayWindows.hpp"
#include "Platform/OwnerAuthentication.hpp"
#include "Platform/Pasteboard.hpp"
#include "Platform/Screens.hpp"
#include "Platform/StateStore.hpp"
#include "Platform/SystemAgents.hpp"
#include "Platform/SystemLog.hpp"
#include "Platform/Updater.hpp"
#include "Platform/UrlOpening.hpp"
#include "Platform/UserDefaults.hpp"
#include "Platform/WindowList.hpp"
#include "Platform/WorkspaceProviding.hpp"
#include "Support/Logging.hpp"
#include "Support/MonotonicClock.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <memory>

namespace velmora {

/// The services of the desktop the program runs on, chosen once at start-up (the simulated
/// desktop, or a real backend). The process-wide instances (`AppState::shared()`, ...) take
/// their collaborators from here; tests pass collaborators explicitly instead.
struct Platform {
    std::shared_ptr<RunLoop> runLoop{};
    std::shared_ptr<TimeProviding> timeProvider{};
    std::shared_ptr<MonotonicClock> monotonicClock{};
    /// Where the process-wide instances log; start-up puts the program's log here.
    std::shared_ptr<Logging> logger{};
    std::shared_ptr<WorkspaceProviding> workspace{};
    std::shared_ptr<UserDefaults> userDefaults{};
    std::shared_ptr<BundleReading> bundleReader{};
    std::shared_ptr<OwnerAuthenticationService> ownerAuthentication{};
    std::shared_ptr<ScreenProviding> screens{};
    std::shared_ptr<OverlayWindowFactory> overlayWindows{};
    /// The plain covers over every window of a locked application.
    std::shared_ptr<CoverWindowFactory> coverWindows{};
    UpdaterFactory updaterFactory{};
    std::shared_ptr<WindowListProviding> windowList{};
    std::shared_ptr<EventTapProviding> eventTaps{};
    std::shared_ptr<AccessibilityTrust> accessibility{};
    /// The program's own application object.
    std::shared_ptr<HostApplication> hostApplication{};
    /// The program's own notification centre ("openSettingsRequested").
    std::shared_ptr<NotificationCenter> notificationCenter{};
    /// The session-wide centre (`session_events`).
    std::shared_ptr<NotificationCenter> distributedNotifications{};
    std::shared_ptr<UrlOpening> urlOpener{};
    SystemAgents systemAgents{};
    std::shared_ptr<SystemLog> systemLog{};
    std::shared_ptr<MainBundle> mainBundle{};
    /// Whether the program starts when the user logs in.
    std::shared_ptr<LoginItemService> loginItems{};
    std::shared_ptr<Pasteboard> pasteboard{};
    /// "Add App": the chooser and the warning when the choice is no application.
    std::shared_ptr<ApplicationPicker> applicationPicker{};
    std::shared_ptr<AlertPresenting> alerts{};
    std::shared_ptr<ApplicationIconProviding> applicationIcons{};
    /// What the program keeps for itself: the last protected list written, failed attempts.
    std::shared_ptr<StateStore> stateStore{};
};

/// Installs the platform. Call once, before the first process-wide instance is created.
void installPlatform(Platform platform);

/// The installed platform. Aborts with a message if none was installed: a component that
/// reaches for a process-wide instance before start-up is a programming error.
const Platform& installedPlatform();

/// Aborts with a message naming `component` unless `allPresent`: a process-wide instance
/// built without a service it needs would only fail later, somewhere less obvious.
void requirePlatformServices(bool allPresent, const char* component);

} // namespace velmora
