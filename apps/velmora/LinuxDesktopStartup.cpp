#include "AppDelegate.hpp"
#include "DesktopStartup.hpp"
#include "DisplayEnvironment.hpp"
#include "GuardLink.hpp"
#include "LinuxPlatformBuilder.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "SharedAppLog.hpp"
#include "Ui/QtHostApplication.hpp"

#include <QCoreApplication>
#include <QQuickWindow>
#include <cstdio>
#include <cstdlib>

namespace velmora {

struct DesktopStartup::State {
    // Adopts the guard that started this Velmora at once, before anything can fail.
    GuardLink guard;
    LinuxPlatformBuilder builder;
    Subscription connectionLost;
};

std::optional<std::string> DesktopStartup::prepareSession() {
    const DisplayEnvironment environment =
        DisplayEnvironment::check(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"));
    if (environment.error) {
        return environment.error;
    }
    if (environment.warning) {
        std::fprintf(stderr, "velmora: warning: %s\n", environment.warning->c_str());
    }
    // Windows are only seen and covered through X11; overlays draw fastest in software.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return std::nullopt;
}

DesktopStartup::DesktopStartup() : state_(std::make_unique<State>()) {}

DesktopStartup::~DesktopStartup() = default;

std::optional<Platform> DesktopStartup::buildPlatform() {
    return state_->builder.build();
}

const std::string& DesktopStartup::error() const {
    return state_->builder.error();
}

void DesktopStartup::platformInstalled() {
    state_->builder.log()->start();
    state_->connectionLost = state_->builder.connection()->observeConnectionLost([] {
        installedPlatform().logger->error("Lost the connection to the X server");
        QCoreApplication::exit(EXIT_FAILURE);
    });
}

void DesktopStartup::handedOver() {
    // The running Velmora has a guard of its own.
    state_->guard.quit();
}

void DesktopStartup::watch(const std::shared_ptr<AppDelegate>& delegate) {
    state_->guard.watch([weak = std::weak_ptr(delegate)] {
        const auto live = weak.lock();
        return live && live->hasLockEngine();
    });
}

void DesktopStartup::launch(AppDelegate& delegate) {
    delegate.applicationDidFinishLaunching();
}

void DesktopStartup::ended(const HostApplication& host) {
    // Only a quit the owner authenticated ends the guard; any other end counts as a crash.
    if (const auto* qtHost = dynamic_cast<const QtHostApplication*>(&host);
        qtHost && qtHost->isTerminated()) {
        state_->guard.quit();
    }
}

} // namespace velmora
