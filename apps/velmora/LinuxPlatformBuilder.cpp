#include "LinuxPlatformBuilder.hpp"

#include "LinuxSessionPlatform.hpp"
#include "Platform/Linux/EwmhAccessibilityTrust.hpp"
#include "Platform/Linux/LogindSessionEvents.hpp"
#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/X11CoverWindows.hpp"
#include "Platform/Linux/X11Screens.hpp"
#include "Platform/Linux/X11WindowList.hpp"
#include "Platform/Linux/X11Workspace.hpp"
#include "Platform/Linux/XInputEventTaps.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "SharedAppLog.hpp"
#include "Ui/QtHostApplication.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtPasswordPrompting.hpp"
#include "Ui/QtRunLoop.hpp"
#include "Ui/X11KeyboardGrab.hpp"
#include "Ui/X11OverlayStacking.hpp"

namespace velmora {

LinuxPlatformBuilder::LinuxPlatformBuilder() = default;
LinuxPlatformBuilder::~LinuxPlatformBuilder() = default;

std::optional<Platform> LinuxPlatformBuilder::build() {
    LinuxSessionPlatform session;
    log_ = session.log;
    const std::shared_ptr<Logging> logger = log_;
    const auto& runLoop = session.runLoop;
    connection_ = XcbConnection::open("", runLoop);
    if (!connection_) {
        error_ = "cannot connect to the X display " + qEnvironmentVariable("DISPLAY").toStdString();
        return std::nullopt;
    }
    auto clients = std::make_shared<X11ClientList>(connection_, logger);
    auto screens = std::make_shared<X11Screens>(connection_);

    Platform platform = std::move(session.platform);
    applications_ = session.applications;
    platform.workspace = std::make_shared<X11Workspace>(X11Workspace::Dependencies{
        connection_, clients, runLoop, session.applications, session.sessionEvents, logger,
        QtHostApplication::identifier, protectedApplications_});
    platform.screens = screens;
    auto overlays = std::make_shared<QtOverlayWindowFactory>();
    const auto shownOverlays = [overlays = std::weak_ptr(overlays)] {
        const auto live = overlays.lock();
        return live ? live->shownWindows() : std::vector<QWindow*>{};
    };
    auto focusGrabs = std::make_shared<X11FocusGrabs>(connection_);
    session.prompts->setFocusGiver(
        [focusGrabs](std::uint32_t prompt) { focusGrabs->giveFocusTo(prompt); });
    keyboardGrab_ =
        std::make_unique<X11KeyboardGrab>(connection_, runLoop, shownOverlays, focusGrabs);
    overlayStacking_ = std::make_unique<X11OverlayStacking>(connection_, runLoop, shownOverlays);
    platform.overlayWindows = overlays;
    // The list is made after the covers, which it asks in turn.
    auto listed = std::make_shared<std::weak_ptr<const X11WindowList>>();
    auto covers = std::make_shared<X11CoverWindows>(connection_, screens, focusGrabs,
                                                    [listed](xcb_window_t window) {
                                                        const auto list = listed->lock();
                                                        return list && list->isPopup(window);
                                                    });
    platform.coverWindows = covers;
    // A covered window restacked calls for a look only where a card may have to follow it: in
    // the application in front. Covers keep above their windows by themselves.
    auto windowList = std::make_shared<X11WindowList>(
        connection_, clients, screens,
        [covers = std::weak_ptr(covers), clients,
         workspace = std::weak_ptr(platform.workspace)](xcb_window_t frame) {
            const auto live = covers.lock();
            if (!live || !live->covers(frame)) {
                return false;
            }
            const auto front = workspace.lock();
            const auto app = front ? front->frontmostApplication() : std::nullopt;
            return !app || clients->ownerOf(frame) == app->processIdentifier;
        });
    *listed = windowList;
    platform.windowList = windowList;
    platform.eventTaps = std::make_shared<XInputEventTaps>(connection_, clients);
    platform.accessibility = std::make_shared<EwmhAccessibilityTrust>(connection_);
    return platform;
}

} // namespace velmora
