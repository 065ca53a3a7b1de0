#include "LinuxSessionPlatform.hpp"

#include "InstalledFile.hpp"
#include "PackageManagedUpdater.hpp"
#include "Platform/Linux/DesktopEntryBundleReader.hpp"
#include "Platform/Linux/DesktopEntryIcons.hpp"
#include "Platform/Linux/JsonFileUserDefaults.hpp"
#include "Platform/Linux/LinuxMainBundle.hpp"
#include "Platform/Linux/LocalNotificationCenter.hpp"
#include "Platform/Linux/LogindSessionEvents.hpp"
#include "Platform/Linux/PamAuthenticationService.hpp"
#include "Platform/Linux/SessionNotificationCenter.hpp"
#include "Platform/Linux/SettingsLinkOpener.hpp"
#include "Platform/Linux/SyslogSystemLog.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "Platform/Linux/XdgAutostart.hpp"
#include "Platform/Linux/XdgDirectories.hpp"
#include "Platform/Linux/XdgStateStore.hpp"
#include "Platform/Linux/XdgUrlOpener.hpp"
#include "SharedAppLog.hpp"
#include "Ui/QtAlertPresenter.hpp"
#include "Ui/QtApplicationPicker.hpp"
#include "Ui/QtHostApplication.hpp"
#include "Ui/QtPasswordPrompting.hpp"
#include "Ui/QtPasteboard.hpp"
#include "Ui/QtRunLoop.hpp"

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

/// The desktops' own helpers, by desktop entry ID. File dialogs are the program's own here,
/// so no file manager stands in for them.
SystemAgents linuxSystemAgents() {
    return {
        .prompts = {"polkit-gnome-authentication-agent-1",
                    "org.kde.polkit-kde-authentication-agent-1",
                    "polkit-mate-authentication-agent-1", "lxqt-policykit-agent", "xfce-polkit"},
        .shell = {"org.kde.plasmashell", "org.kde.krunner", "xfce4-panel", "mate-panel",
                  "lxqt-panel", "org.gnome.Shell"},
        .fileManager = {},
    };
}

} // namespace

LinuxSessionPlatform::LinuxSessionPlatform()
    : runLoop(std::make_shared<QtRunLoop>()), log(std::make_shared<SharedAppLog>()) {
    const std::shared_ptr<Logging> logger = log;
    sessionEvents = std::make_shared<LogindSessionEvents>(
        QDBusConnection::systemBus(), QDBusConnection::sessionBus(), runLoop, logger);
    const auto applicationDirs = XdgDirectories::applicationDirs();
    applications = std::make_shared<XdgApplicationDirectory>(applicationDirs,
                                                             DesktopLocale::fromEnvironment());
    prompts = std::make_shared<QtPasswordPrompting>();

    platform.runLoop = runLoop;
    platform.timeProvider = std::make_shared<SystemTimeProvider>();
    platform.monotonicClock = std::make_shared<SystemMonotonicClock>();
    platform.logger = logger;
    platform.userDefaults =
        std::make_shared<JsonFileUserDefaults>(JsonFileUserDefaults::defaultPath());
    platform.bundleReader = std::make_shared<DesktopEntryBundleReader>(
        applicationDirs, DesktopLocale::fromEnvironment());
    platform.ownerAuthentication = std::make_shared<PamAuthenticationService>(
        prompts, PamAuthenticationSettings{.helperPath = authHelperPath()});
    platform.updaterFactory = [] { return std::make_shared<PackageManagedUpdater>(); };
    platform.hostApplication = std::make_shared<QtHostApplication>(runLoop);
    platform.notificationCenter = std::make_shared<LocalNotificationCenter>(runLoop);
    platform.distributedNotifications =
        std::make_shared<SessionNotificationCenter>(sessionEvents, runLoop);
    platform.urlOpener =
        std::make_shared<SettingsLinkOpener>(std::make_shared<XdgUrlOpener>(), helpDocument());
    platform.systemAgents = linuxSystemAgents();
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
}

} // namespace velmora
