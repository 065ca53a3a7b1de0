#include "LinuxPlatformBuilder.hpp"

#include "InstalledFile.hpp"
#include "PackageManagedUpdater.hpp"
#include "Platform/Linux/DesktopEntryBundleReader.hpp"
#include "Platform/Linux/DesktopEntryIcons.hpp"
#include "Platform/Linux/EwmhAccessibilityTrust.hpp"
#include "Platform/Linux/JsonFileUserDefaults.hpp"
#include "Platform/Linux/LinuxMainBundle.hpp"
#include "Platform/Linux/LocalNotificationCenter.hpp"
#include "Platform/Linux/LogindSessionEvents.hpp"
#include "Platform/Linux/PamAuthenticationService.hpp"
#include "Platform/Linux/SessionNotificationCenter.hpp"
#include "Platform/Linux/SettingsLinkOpener.hpp"
#include "Platform/Linux/SyslogSystemLog.hpp"
#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/X11CoverWindows.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/X11WindowList.hpp"
#include "Platform/Linux/X11Workspace.hpp"
#include "Platform/Linux/XInputEventTaps.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "Platform/Linux/XdgAutostart.hpp"
#include "Platform/Linux/XdgDirectories.hpp"
#include "Platform/Linux/XdgStateStore.hpp"
#include "Platform/Linux/XdgUrlOpener.hpp"
#include "SharedAppLog.hpp"
#include "Ui/QtAlertPresenter.hpp"
#include "Ui/QtApplicationPicker.hpp"
#include "Ui/QtHostApplication.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtPasswordPrompting.hpp"
#include "Ui/QtPasteboard.hpp"
#include "Ui/QtRunLoop.hpp"
#include "Ui/X11KeyboardGrab.hpp"
#include "Ui/X11OverlayStacking.hpp"

#include <QCoreApplication>
#include <QDBusConnection>
#include <filesystem>

namespace velmora {

namespace {

std::filesystem::path authHelperPath() {
    return installedOr(VELMORA_INSTALLED_AUTH_HELPER, VELMORA_AUTH_HELPER_BUILD_PATH);
}

// The README holds the permission guidance.
std::string helpDocument() {
    return installedOr(VELMORA_INSTALLED_README, VELMORA_SOURCE_README).string();
}

} // namespace

LinuxPlatformBuilder::LinuxPlatformBuilder() = default;
LinuxPlatformBuilder::~LinuxPlatformBuilder() = default;

std::optional<Platform> LinuxPlatformBuilder::build() {
    auto runLoop = std::make_shared<QtRunLoop>();
    log_ = std::make_shared<SharedAppLog>();
    const std::shared_ptr<Logging> logger = log_;
    connection_ = XcbConnection::open("", runLoop);
    if (!connection_) {
        error_ = "cannot connect to the X display " + qEnvironmentVariable("DISPLAY").toStdString();
        return std::nullopt;
    }
    auto clients = std::make_shared<X11ClientList>(connection_, logger);
    auto sessionEvents = std::make_shared<LogindSessionEvents>(
        QDBusConnection::systemBus(), QDBusConnection::sessionBus(), runLoop, logger);
    const auto applicationDirs = XdgDirectories::applicationDirs();
    auto screens = std::make_shared<X11Screens>(connection_);
    auto prompts = std::make_shared<QtPasswordPrompting>();

    Platform platform;
    platform.runLoop = runLoop;
    platform.timeProvider = std::make_shared<SystemTimeProvider>();
    platform.monotonicClock = std::make_shared<SystemMonotonicClock>();
    platform.logger = logger;
    auto applications = std::make_shared<XdgApplicationDirectory>(applicationDirs,
                                                                  DesktopLocale::fromEnvironment());
    applications_ = applications;
    platform.workspace = std::make_shared<X11Workspace>(
        X11Workspace::Dependencies{connection_, clients, runLoop, applications, sessionEvents,
                                   logger, QtHostApplication::identifier, protectedApplications_});
    platform.userDefaults =
        std::make_shared<JsonFileUserDefaults>(JsonFileUserDefaults::defaultPath());
    platform.bundleReader = std::make_shared<DesktopEntryBundleReader>(
        applicationDirs, DesktopLocale::fromEnvironment());
    platform.ownerAuthentication = std::make_shared<PamAuthenticationService>(
        prompts, PamAuthenticationSettings{.helperPath = authHelperPath()});
    platform.screens = screens;
    auto overlays = std::make_shared<QtOverlayWindowFactory>();
    const auto shownOverlays = [overlays = std::weak_ptr(overlays)] {
        const auto live = overlays.lock();
        return live ? live->shownWindows() : std::vector<QWindow*>{};
    };
    keyboardGrab_ = std::make_unique<X11KeyboardGrab>(connection_, runLoop, shownOverlays);
    overlayStacking_ = std::make_unique<X11OverlayStacking>(connection_, runLoop, shownOverlays);
    platform.overlayWindows = overlays;
    platform.coverWindows = std::make_shared<X11CoverWindows>(connection_, screens);
    platform.updaterFactory = [] { return std::make_shared<PackageManagedUpdater>(); };
    platform.windowList = std::make_shared<X11WindowList>(connection_, clients, screens);
    platform.eventTaps = std::make_shared<XInputEventTaps>(connection_, clients);
    platform.accessibility = std::make_shared<EwmhAccessibilityTrust>(connection_);
    platform.hostApplication = std::make_shared<QtHostApplication>(runLoop);
    platform.notificationCenter = std::make_shared<LocalNotificationCenter>(runLoop);
    platform.distributedNotifications =
        std::make_shared<SessionNotificationCenter>(sessionEvents, runLoop);
    platform.urlOpener =
        std::make_shared<SettingsLinkOpener>(std::make_shared<XdgUrlOpener>(), helpDocument());
    platform.systemLog = std::make_shared<SyslogSystemLog>();
    platform.mainBundle = std::make_shared<LinuxMainBundle>();
    platform.loginItems =
        std::make_shared<XdgAutostart>(XdgAutostart::defaultDirectory(),
                                       platform.mainBundle->executablePath().value_or(
                                           QCoreApplication::applicationFilePath().toStdString()));
    platform.pasteboard = std::make_shared<QtPasteboard>();
    platform.applicationPicker =
        std::make_shared<QtApplicationPicker>(QtApplicationPicker::defaultDirectory());
    platform.alerts = std::make_shared<QtAlertPresenter>();
    platform.applicationIcons = std::make_shared<DesktopEntryIcons>(applications);
    platform.stateStore = std::make_shared<XdgStateStore>(XdgStateStore::defaultDirectory());
    return platform;
}

} // namespace velmora
