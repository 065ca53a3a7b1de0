#include "AppDelegate.hpp"
#include "CommandLine.hpp"
#include "Core/LockEngine/LockEngine.hpp"
#include "DisplayEnvironment.hpp"
#include "GuardLink.hpp"
#include "LinuxPlatformBuilder.hpp"
#include "MenuBarContent.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Scenes.hpp"
#include "Services/PermissionsManager.hpp"
#include "SharedAppLog.hpp"
#include "SingleInstance.hpp"
#include "TerminationSignals.hpp"
#include "TrayIcon.hpp"
#include "Ui/QtHostApplication.hpp"
#include "Ui/QtPasteboard.hpp"

#include <QApplication>
#include <QQuickWindow>
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

    const DisplayEnvironment environment =
        DisplayEnvironment::check(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (environment.error) {
        return fail(*environment.error);
    }
    if (environment.warning) {
        std::fprintf(stderr, "velmora: warning: %s\n", environment.warning->c_str());
    }

    // Windows are only seen and covered through X11; overlays draw fastest in software.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmora"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    QApplication::setQuitOnLastWindowClosed(false);
    GuardLink guard;

    SingleInstance instance(SingleInstance::defaultSocketPath());
    // A later start asks this one for its settings; the platform is installed by then.
    if (!instance.becomePrimary([] {
            installedPlatform().notificationCenter->post(AppDelegate::openSettingsRequested);
        })) {
        // The running Velmora has a guard of its own.
        guard.quit();
        return EXIT_SUCCESS;
    }

    LinuxPlatformBuilder builder;
    std::optional<Platform> platform = builder.build();
    if (!platform) {
        return fail(builder.error());
    }
    const std::shared_ptr<HostApplication> host = platform->hostApplication;
    installPlatform(std::move(*platform));
    builder.log()->start();
    const Subscription connectionLost = builder.connection()->observeConnectionLost([] {
        installedPlatform().logger->error("Lost the connection to the X server");
        QCoreApplication::exit(EXIT_FAILURE);
    });

    const auto delegate =
        AppDelegate::create(AppDelegate::platformDefaults([] { return LockEngine::shared(); }));
    host->setDelegate(delegate);
    guard.watch([weak = std::weak_ptr(delegate)] {
        const auto live = weak.lock();
        return live && live->hasLockEngine();
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
                      .pasteboard = std::make_shared<QtPasteboard>(),
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

    delegate->applicationDidFinishLaunching();
    const int status = QApplication::exec();
    // Only a quit the owner authenticated ends the guard; any other end counts as a crash.
    if (const auto qtHost = std::dynamic_pointer_cast<QtHostApplication>(host);
        qtHost && qtHost->isTerminated()) {
        guard.quit();
    }
    return status;
}
