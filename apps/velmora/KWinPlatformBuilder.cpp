#include "KWinPlatformBuilder.hpp"

#include "InstalledFile.hpp"
#include "LinuxSessionPlatform.hpp"
#include "Platform/Linux/LogindSessionEvents.hpp"
#include "Platform/Linux/Wayland/KWinBridge.hpp"
#include "Platform/Linux/Wayland/KWinEventTaps.hpp"
#include "Platform/Linux/Wayland/KWinShields.hpp"
#include "Platform/Linux/Wayland/KWinWindowList.hpp"
#include "Platform/Linux/Wayland/KWinWorkspace.hpp"
#include "Platform/Linux/Wayland/SwayBridge.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "SharedAppLog.hpp"
#include "Ui/KWinCoverWindowFactory.hpp"
#include "Ui/KWinOverlayWindowFactory.hpp"
#include "Ui/QtHostApplication.hpp"
#include "Ui/QtRunLoop.hpp"
#include "Ui/QtScreens.hpp"

#include <QCoreApplication>
#include <QDBusConnection>

namespace velmora {

namespace {

QString scriptPath() {
    return QString::fromStdString(
        installedOr(VELMORA_INSTALLED_KWIN_SCRIPT, VELMORA_KWIN_SCRIPT_SOURCE).string());
}

// Trusted once the script reports: the compositor itself then tells Velmora what it shows.
class KWinAccessibilityTrust final : public AccessibilityTrust {
public:
    [[nodiscard]] bool isProcessTrusted() const override { return true; }
};

} // namespace

KWinPlatformBuilder::KWinPlatformBuilder() = default;
KWinPlatformBuilder::~KWinPlatformBuilder() = default;

std::optional<Platform> KWinPlatformBuilder::build() {
    LinuxSessionPlatform session;
    log_ = session.log;
    const std::shared_ptr<Logging> logger = log_;
    bridge_ = KWinBridge::connect(QDBusConnection::sessionBus(), scriptPath(), session.runLoop,
                                  logger, error_);
    if (!bridge_) {
        return std::nullopt;
    }
    return assemble(session);
}

std::optional<Platform> KWinPlatformBuilder::buildOnSway(const std::string& socketPath) {
    LinuxSessionPlatform session;
    log_ = session.log;
    bridge_ = SwayBridge::connect(socketPath, session.runLoop, log_, error_);
    if (!bridge_) {
        return std::nullopt;
    }
    return assemble(session);
}

Platform KWinPlatformBuilder::assemble(LinuxSessionPlatform& session) {
    const std::shared_ptr<Logging> logger = log_;
    Platform platform = std::move(session.platform);
    // Only a quit the owner authenticated releases the windows; any other end leaves the
    // script hiding them until Velmora is back. Connected first: the covers go after this.
    const auto host = std::dynamic_pointer_cast<QtHostApplication>(platform.hostApplication);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit,
                     [bridge = std::weak_ptr(bridge_), host] {
                         const auto live = bridge.lock();
                         if (live && host && host->isTerminated()) {
                             live->shutDown();
                         }
                     });
    auto shields = std::make_shared<KWinShields>(bridge_);
    const auto activeFrame = [bridge = std::weak_ptr(bridge_)]() -> std::optional<Rect> {
        const auto live = bridge.lock();
        const auto active = live ? live->activeWindow() : std::nullopt;
        const kwin::Window* window = active ? live->window(*active) : nullptr;
        return window ? std::optional{window->frame} : std::nullopt;
    };
    auto screens = std::make_shared<QtScreens>(activeFrame);
    // A card shields the window whose frame it takes: the one it shielded before, else the
    // active one, else the topmost.
    const auto windowAt = [bridge = std::weak_ptr(bridge_)](Rect frame,
                                                            std::optional<WindowNumber> previous) {
        std::optional<WindowNumber> found;
        const auto live = bridge.lock();
        if (!live) {
            return found;
        }
        const auto fits = [&](std::optional<WindowNumber> number) {
            const kwin::Window* window = number ? live->window(*number) : nullptr;
            return window && !window->shield && window->visible && window->frame == frame;
        };
        if (fits(previous)) {
            return previous;
        }
        if (fits(live->activeWindow())) {
            return live->activeWindow();
        }
        for (const auto& [number, window] : live->windows()) {
            if (fits(number) && (!found || window.stacking > live->window(*found)->stacking)) {
                found = number;
            }
        }
        return found;
    };
    applications_ = session.applications;
    platform.workspace = std::make_shared<KWinWorkspace>(KWinWorkspace::Dependencies{
        bridge_, session.runLoop, session.applications, session.sessionEvents, logger,
        QtHostApplication::identifier, protectedApplications_});
    platform.screens = screens;
    platform.overlayWindows = std::make_shared<KWinOverlayWindowFactory>(shields, windowAt);
    platform.coverWindows = std::make_shared<KWinCoverWindowFactory>(shields);
    platform.windowList =
        std::make_shared<KWinWindowList>(bridge_, [screens] { return screens->coordinates(); });
    platform.eventTaps =
        std::make_shared<KWinEventTaps>(bridge_, WaylandIdleNotifier::connect(logger));
    platform.accessibility = std::make_shared<KWinAccessibilityTrust>();
    return platform;
}

} // namespace velmora
