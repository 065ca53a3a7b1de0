#pragma once

#include "Platform/Platform.hpp"
#include "Platform/Sim/SimAccessibilityTrust.hpp"
#include "Platform/Sim/SimAlertPresenter.hpp"
#include "Platform/Sim/SimApplicationIcons.hpp"
#include "Platform/Sim/SimApplicationPicker.hpp"
#include "Platform/Sim/SimAuthenticator.hpp"
#include "Platform/Sim/SimBundleReader.hpp"
#include "Platform/Sim/SimCoverWindows.hpp"
#include "Platform/Sim/SimEventTaps.hpp"
#include "Platform/Sim/SimHostApplication.hpp"
#include "Platform/Sim/SimLoginItems.hpp"
#include "Platform/Sim/SimMainBundle.hpp"
#include "Platform/Sim/SimNotificationCenter.hpp"
#include "Platform/Sim/SimOverlayWindows.hpp"
#include "Platform/Sim/SimPasteboard.hpp"
#include "Platform/Sim/SimScreens.hpp"
#include "Platform/Sim/SimStateStore.hpp"
#include "Platform/Sim/SimSystemLog.hpp"
#include "Platform/Sim/SimUpdater.hpp"
#include "Platform/Sim/SimUrlOpener.hpp"
#include "Platform/Sim/SimUserDefaults.hpp"
#include "Platform/Sim/SimWindowServer.hpp"
#include "Platform/Sim/SimWorkspace.hpp"
#include "Support/ManualRunLoop.hpp"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// A whole simulated desktop on virtual time: one main queue and every simulated service,
/// with the program itself running as a menu-bar utility. A hidden application's windows are
/// off screen.
///
///     SimDesktop desktop;
///     ProcessId notes = desktop.launchApp("com.example.notes", "Notes", Rect{100, 80, 800, 600});
///     desktop.activate(notes);                       // in front; observers have heard of it
///     desktop.loop->advance(Seconds{2});
///     installPlatform(desktop.platform(logger));     // for the process-wide instances
///
/// The services are shared: a `Platform` made from the desktop keeps them (and the main
/// queue) alive after the desktop itself is gone.
class SimDesktop {
public:
    static constexpr const char* kHostBundleIdentifier = "com.tovren.velmora";

    /// One built-in display unless given others.
    explicit SimDesktop(std::vector<Screen> screens = {
                            {"Built-in Retina Display", {0, 0, 1512, 982}}});
    /// Withdraws the prompts still up, as the system does when the session ends, and runs
    /// what that causes, so nothing waits on them for ever.
    ~SimDesktop();
    SimDesktop(const SimDesktop&) = delete;
    SimDesktop& operator=(const SimDesktop&) = delete;

    /// Starts an application whose bundle is on the simulated disk at "/Applications/<name>.app"
    /// (its icon named by its bundle identifier), with one normal window at `window`
    /// (window-server coordinates: origin top-left, y down).
    ProcessId launchApp(const std::string& bundleIdentifier, const std::string& name,
                        std::optional<Rect> window = std::nullopt,
                        ActivationPolicy policy = ActivationPolicy::regular);
    /// Brings the application to the front and runs what that causes, without moving time.
    void activate(ProcessId pid);
    /// The program's own process.
    [[nodiscard]] ProcessId hostPid() const { return hostPid_; }

    /// Every service of this desktop, logging to `logger`.
    [[nodiscard]] Platform platform(std::shared_ptr<Logging> logger) const;

    const std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    const std::shared_ptr<SimWorkspace> workspace;
    const std::shared_ptr<SimWindowServer> windowServer = std::make_shared<SimWindowServer>();
    const std::shared_ptr<SimEventTaps> eventTaps = std::make_shared<SimEventTaps>();
    const std::shared_ptr<SimScreens> screens;
    const std::shared_ptr<SimOverlayWindowFactory> overlayWindows =
        std::make_shared<SimOverlayWindowFactory>();
    const std::shared_ptr<SimCoverWindowFactory> coverWindows =
        std::make_shared<SimCoverWindowFactory>(windowServer);
    const std::shared_ptr<SimAuthenticator> authenticator = std::make_shared<SimAuthenticator>();
    const std::shared_ptr<SimUserDefaults> userDefaults = std::make_shared<SimUserDefaults>();
    const std::shared_ptr<SimBundleReader> bundleReader = std::make_shared<SimBundleReader>();
    const std::shared_ptr<SimHostApplication> hostApplication;
    const std::shared_ptr<SimNotificationCenter> notificationCenter;
    const std::shared_ptr<SimNotificationCenter> distributedNotifications;
    /// Accessibility starts granted, as on a machine where setup is done.
    const std::shared_ptr<SimAccessibilityTrust> accessibility =
        std::make_shared<SimAccessibilityTrust>(true);
    const std::shared_ptr<SimUrlOpener> urlOpener = std::make_shared<SimUrlOpener>();
    /// A Mac-like desktop's agents, so that scenarios can bring them forward.
    const SystemAgents systemAgents{
        .prompts = {"com.apple.SecurityAgent", "com.apple.LocalAuthentication.UIAgent"},
        .shell = {"com.apple.dock", "com.apple.Spotlight"},
        .fileManager = "com.apple.finder",
    };
    const std::shared_ptr<SimSystemLog> systemLog = std::make_shared<SimSystemLog>();
    const std::shared_ptr<SimMainBundle> mainBundle = std::make_shared<SimMainBundle>();
    const std::shared_ptr<SimApplicationIcons> applicationIcons =
        std::make_shared<SimApplicationIcons>();
    const std::shared_ptr<SimApplicationPicker> applicationPicker;
    const std::shared_ptr<SimAlertPresenter> alerts = std::make_shared<SimAlertPresenter>();
    const std::shared_ptr<SimPasteboard> pasteboard = std::make_shared<SimPasteboard>();
    const std::shared_ptr<SimLoginItems> loginItems = std::make_shared<SimLoginItems>();
    const std::shared_ptr<SimStateStore> stateStore = std::make_shared<SimStateStore>();
    /// Every updater the platform's factory made, oldest first.
    const std::shared_ptr<std::vector<std::shared_ptr<SimUpdater>>> updatersMade =
        std::make_shared<std::vector<std::shared_ptr<SimUpdater>>>();

private:
    ProcessId hostPid_ = 0;
    Subscription visibilityChanges_;
};

} // namespace velmora
