#include "AppDelegate.hpp"
#include "CommandLine.hpp"
#include "Core/LockEngine/LockEngine.hpp"
#include "DesktopStartup.hpp"
#include "MenuBarContent.hpp"
#include "Scenes.hpp"
#include "Services/PermissionsManager.hpp"
#include "SingleInstance.hpp"
#include "TerminationSignals.hpp"
#include "TrayIcon.hpp"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

using namespace velmora;

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "velmora: %s\n", message.c_str());
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine command = CommandLine::parse({argv + std::min(argc, 1), argv + argc});
    switch (command.action) {
    case CommandLine::Action::help:
        std::fputs(CommandLine::usageText, stdout);
        return EXIT_SUCCESS;
    case CommandLine::Action::version:
        std::puts(CommandLine::versionText);
        return EXIT_SUCCESS;
    case CommandLine::Action::invalid:
        std::fprintf(stderr, "velmora: %s\nTry 'velmora --help'.\n", command.error.c_str());
        return 2;
    case CommandLine::Action::run:
        break;
    }

    if (const auto error = DesktopStartup::prepareSession()) {
        return fail(*error);
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QApplication::setQuitOnLastWindowClosed(false);
    DesktopStartup startup;

    SingleInstance instance(SingleInstance::defaultSocketPath());
    // A later start asks this one for its settings; the platform is installed by then.
    if (!instance.becomePrimary(
            [] {
                installedPlatform().notificationCenter->post(AppDelegate::openSettingsRequested);
            },
            startup.replacesEndedInstance())) {
        startup.handedOver();
        return EXIT_SUCCESS;
    }

    std::optional<Platform> platform = startup.buildPlatform();
    if (!platform) {
        return fail(startup.error());
    }
    const std::shared_ptr<HostApplication> host = platform->hostApplication;
    installPlatform(std::move(*platform));
    startup.platformInstalled();

    // Until a guard answers, the engine covers every protected application itself.
    const auto delegate = AppDelegate::create(AppDelegate::platformDefaults([&startup] {
        const auto engine = LockEngine::shared();
        engine->setCoverEveryProtectedProcess(!startup.guardAnswers().get());
        return engine;
    }));
    host->setDelegate(delegate);
    startup.watch(delegate);
    const Subscription guardAnswers = startup.guardAnswers().subscribeToChanges(
        [weak = std::weak_ptr(delegate)](const bool& answers) {
            if (const auto live = weak.lock(); live && live->hasLockEngine()) {
                LockEngine::shared()->setCoverEveryProtectedProcess(!answers);
            }
        });

    TrayIcon tray(
        [weak = std::weak_ptr(delegate)] {
            // Before the engine runs (no window manager yet) there is nothing to lock.
            if (auto live = weak.lock(); live && live->hasLockEngine()) {
                LockEngine::shared()->lockAllNow();
            }
        },
        [host] { host->terminate(); });
    tray.show();
    const Platform& installed = installedPlatform();
    Scenes scenes(tray, installed.notificationCenter,
                  {
                      .permissionsManager = PermissionsManager::shared(),
                      .userDefaults = installed.userDefaults,
                      .application = host,
                      .windows = nullptr,
                      .pasteboard = installed.pasteboard,
                      .runLoop = installed.runLoop,
                      .raiseVisibleWindows =
                          [weak = std::weak_ptr(delegate)] {
                              if (auto live = weak.lock()) {
                                  live->raiseVisibleWindows();
                              }
                          },
                  });
    const MenuBarContent panelContent(scenes.panel());
    scenes.showPanelWithoutTray();

    const TerminationSignals stopSignals([](int signal) {
        installedPlatform().logger->info("Stopping on signal " + std::to_string(signal));
        QCoreApplication::exit(128 + signal);
    });

    startup.launch(*delegate);
    const int status = QApplication::exec();
    startup.ended(*host);
    return status;
}
