#include "Platform/Sim/SimDesktop.hpp"

namespace velmora {

namespace {

/// The workspace refers to the main queue; this keeps the queue alive as long as the workspace.
std::shared_ptr<SimWorkspace> makeWorkspace(const std::shared_ptr<ManualRunLoop>& loop) {
    return std::shared_ptr<SimWorkspace>(new SimWorkspace(*loop),
                                         [loop](SimWorkspace* workspace) { delete workspace; });
}

std::string bundleLocation(const std::string& name) {
    return "/Applications/" + name + ".app";
}

} // namespace

SimDesktop::SimDesktop(std::vector<Screen> screens)
    : workspace(makeWorkspace(loop)), screens(std::make_shared<SimScreens>(std::move(screens))),
      hostApplication(std::make_shared<SimHostApplication>(*loop, kHostBundleIdentifier)),
      notificationCenter(std::make_shared<SimNotificationCenter>(loop)),
      distributedNotifications(std::make_shared<SimNotificationCenter>(loop)),
      applicationPicker(std::make_shared<SimApplicationPicker>(loop)) {
    hostPid_ =
        launchApp(kHostBundleIdentifier, "Velmora", std::nullopt, ActivationPolicy::accessory);
    hostApplication->joinWorkspace(workspace, hostPid_);
    windowServer->setHiddenProcesses(
        [weak = std::weak_ptr<SimWorkspace>(workspace)](ProcessId pid) {
            const auto desktop = weak.lock();
            return desktop && desktop->isHidden(pid);
        });
    visibilityChanges_ = workspace->observeVisibilityChanges(
        [server = std::weak_ptr<SimWindowServer>(windowServer)] {
            if (const auto live = server.lock()) {
                live->announceChange();
            }
        });
}

SimDesktop::~SimDesktop() {
    while (authenticator->waitingPromptCount() > 0) {
        authenticator->queueOutcome(SimAuthenticator::Outcome::fail(LAErrorCode::systemCancel));
    }
    loop->runUntilIdle();
}

ProcessId SimDesktop::launchApp(const std::string& bundleIdentifier, const std::string& name,
                                std::optional<Rect> window, ActivationPolicy policy) {
    const std::string location = bundleLocation(name);
    bundleReader->addBundle(
        location, {.bundleIdentifier = bundleIdentifier, .infoStrings = {{"CFBundleName", name}}});
    applicationIcons->install(bundleIdentifier, location, bundleIdentifier);
    const ProcessId pid = workspace->launch({
        .bundleIdentifier = bundleIdentifier,
        .localizedName = name,
        .bundleLocation = location,
        .activationPolicy = policy,
    });
    if (window) {
        windowServer->addWindow(pid, window->x, window->y, window->width, window->height);
    }
    return pid;
}

void SimDesktop::activate(ProcessId pid) {
    workspace->activate(pid);
    loop->runUntilIdle();
}

Platform SimDesktop::platform(std::shared_ptr<Logging> logger) const {
    return Platform{
        .runLoop = loop,
        .timeProvider = loop,
        .monotonicClock = loop,
        .logger = std::move(logger),
        .workspace = workspace,
        .userDefaults = userDefaults,
        .bundleReader = bundleReader,
        .ownerAuthentication = authenticator,
        .screens = screens,
        .overlayWindows = overlayWindows,
        .coverWindows = coverWindows,
        .updaterFactory =
            [made = updatersMade] {
                auto updater = std::make_shared<SimUpdater>();
                made->push_back(updater);
                return std::shared_ptr<Updater>(updater);
            },
        .windowList = windowServer,
        .eventTaps = eventTaps,
        .accessibility = accessibility,
        .hostApplication = hostApplication,
        .notificationCenter = notificationCenter,
        .distributedNotifications = distributedNotifications,
        .urlOpener = urlOpener,
        .systemAgents = systemAgents,
        .systemLog = systemLog,
        .mainBundle = mainBundle,
        .loginItems = loginItems,
        .pasteboard = pasteboard,
        .applicationPicker = applicationPicker,
        .alerts = alerts,
        .applicationIcons = applicationIcons,
        .stateStore = stateStore,
    };
}

} // namespace velmora
