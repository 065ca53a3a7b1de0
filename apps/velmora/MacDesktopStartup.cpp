#include "DesktopStartup.hpp"
#include "Platform/Mac/MacPlatform.hpp"
#include "SharedAppLog.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtRunLoop.hpp"

#include <QtGlobal>

namespace velmora {

// No guard process on macOS: nothing to adopt, start or end.
struct DesktopStartup::State {
    std::shared_ptr<SharedAppLog> log = std::make_shared<SharedAppLog>();
    std::string error;
    Observable<bool> guardAnswers{true};
};

std::optional<std::string> DesktopStartup::prepareSession() {
    // A menu-bar utility: Qt must neither make the process a Dock application nor bring it to
    // the front when it has launched, which would take the front from the application in use.
    qputenv("QT_MAC_DISABLE_FOREGROUND_APPLICATION_TRANSFORM", "1");
    return std::nullopt;
}

DesktopStartup::DesktopStartup() : state_(std::make_unique<State>()) {}

DesktopStartup::~DesktopStartup() = default;

std::optional<Platform> DesktopStartup::buildPlatform() {
    // The overlay windows' factory comes before any other Qt Quick window (it chooses the
    // renderer); the Qt event loop runs the main CFRunLoop that the platform delivers on.
    Platform platform =
        makeMacPlatform(std::make_shared<QtRunLoop>(), std::make_shared<QtOverlayWindowFactory>());
    platform.logger = state_->log;
    return platform;
}

bool DesktopStartup::replacesEndedInstance() const {
    return false;
}

Observable<bool>& DesktopStartup::guardAnswers() {
    return state_->guardAnswers;
}

const std::string& DesktopStartup::error() const {
    return state_->error;
}

void DesktopStartup::platformInstalled() {
    state_->log->start();
}

void DesktopStartup::handedOver() {}

void DesktopStartup::watch(const std::shared_ptr<AppDelegate>&) {}

// AppKit tells the application delegate once the event loop runs.
void DesktopStartup::launch(AppDelegate&) {}

void DesktopStartup::ended(const HostApplication&) {}

} // namespace velmora
