#include "AppDelegate.hpp"
#include "DesktopStartup.hpp"
#include "DisplayEnvironment.hpp"
#include "GuardLink.hpp"
#include "KWinPlatformBuilder.hpp"
#include "KWinProtectedProcesses.hpp"
#include "LinuxPlatformBuilder.hpp"
#include "Models/AppState.hpp"
#include "Platform/Linux/Wayland/CompositorBridge.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "ProtectedIdentityKeeper.hpp"
#include "SharedAppLog.hpp"
#include "Ui/QtHostApplication.hpp"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QOpenGLContext>
#include <QQuickWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <sys/prctl.h>
#include <vector>

namespace velmora {

namespace {

DisplayEnvironment::Desktop chosenDesktop = DisplayEnvironment::Desktop::x11;
constexpr const char* kBufferIntegration = "QT_WAYLAND_CLIENT_BUFFER_INTEGRATION";

/// A variable set for Velmora's own Qt, and what it was before.
struct OwnSetting {
    const char* name;
    std::optional<QByteArray> before;
};
std::vector<OwnSetting> ownSettings;

void setForQt(const char* name, const char* value) {
    ownSettings.push_back(
        {name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    qputenv(name, value);
}

bool setsForQt(const char* name) {
    return std::any_of(ownSettings.begin(), ownSettings.end(), [name](const OwnSetting& setting) {
        return std::string_view(setting.name) == name;
    });
}

/// Once Qt has read them, so that no program Velmora opens inherits them.
void restoreOwnSettings() {
    for (const OwnSetting& setting : ownSettings) {
        if (setting.before) {
            qputenv(setting.name, *setting.before);
        } else {
            qunsetenv(setting.name);
        }
    }
    ownSettings.clear();
}

} // namespace

struct DesktopStartup::State {
    // Adopts the guard that started this Velmora at once, before anything can fail.
    GuardLink guard;
    LinuxPlatformBuilder builder;
    KWinPlatformBuilder kwin;
    std::string kwinError;
    std::optional<KWinProtectedProcesses> protectedProcesses;
    Subscription connectionLost;
    std::unique_ptr<ProtectedIdentityKeeper> identities;
};

std::optional<std::string> DesktopStartup::prepareSession() {
    // No core dump and no other process of the account reading this one's memory: a
    // password typed into the prompt passes through it.
    ::prctl(PR_SET_DUMPABLE, 0);
    const DisplayEnvironment environment =
        DisplayEnvironment::check(std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                                  std::getenv("XDG_CURRENT_DESKTOP"), std::getenv("SWAYSOCK"));
    if (environment.error) {
        return environment.error;
    }
    if (environment.warning) {
        std::fprintf(stderr, "velmora: warning: %s\n", environment.warning->c_str());
    }
    chosenDesktop = environment.desktop;
    // On X11 windows are seen and covered through XCB; on Wayland, Velmora's own windows are
    // Wayland windows that the compositor places. Overlays draw fastest in software.
    setForQt("QT_QPA_PLATFORM",
             chosenDesktop == DisplayEnvironment::Desktop::x11 ? "xcb" : "wayland");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // Drawn in software, Velmora's windows need no EGL on Wayland; loading it would bring
    // the whole of Mesa's compiler in, tens of megabytes.
    if (chosenDesktop != DisplayEnvironment::Desktop::x11 &&
        !qEnvironmentVariableIsSet(kBufferIntegration)) {
        setForQt(kBufferIntegration, "none");
    }
    return std::nullopt;
}

DesktopStartup::DesktopStartup() : state_(std::make_unique<State>()) {
    // Qt settles on a buffer integration when first asked about OpenGL, and complains that
    // there is none. Asked now, the setting can go.
    if (setsForQt(kBufferIntegration)) {
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.wayland.warning=false"));
        QOpenGLContext::supportsThreadedOpenGL();
        QLoggingCategory::setFilterRules({});
    }
    restoreOwnSettings();
}

DesktopStartup::~DesktopStartup() = default;

std::optional<Platform> DesktopStartup::buildPlatform() {
    if (chosenDesktop == DisplayEnvironment::Desktop::x11) {
        return state_->builder.build();
    }
    if (chosenDesktop == DisplayEnvironment::Desktop::sway) {
        auto platform = state_->kwin.buildOnSway(std::getenv("SWAYSOCK"));
        if (!platform) {
            state_->kwinError =
                "on sway Velmora works through its IPC, and " + state_->kwin.error();
        }
        return platform;
    }
    auto platform = state_->kwin.build();
    if (!platform) {
        state_->kwinError = "on KDE Plasma's Wayland session Velmora works through KWin, and " +
                            state_->kwin.error();
    }
    return platform;
}

bool DesktopStartup::replacesEndedInstance() const {
    return state_->guard.wasStartedByGuard();
}

Observable<bool>& DesktopStartup::guardAnswers() {
    return state_->guard.guardAnswers();
}

const std::string& DesktopStartup::error() const {
    return chosenDesktop == DisplayEnvironment::Desktop::x11 ? state_->builder.error()
                                                             : state_->kwinError;
}

void DesktopStartup::platformInstalled() {
    if (chosenDesktop != DisplayEnvironment::Desktop::x11) {
        state_->kwin.log()->start();
        state_->connectionLost = state_->kwin.bridge()->observeLost([] {
            installedPlatform().logger->error(chosenDesktop == DisplayEnvironment::Desktop::sway
                                                  ? "sway has closed its IPC connection"
                                                  : "KWin has left the session bus");
            QCoreApplication::exit(EXIT_FAILURE);
        });
        state_->identities = std::make_unique<ProtectedIdentityKeeper>(
            AppState::shared(), state_->kwin.applications(), state_->kwin.protectedApplications(),
            installedPlatform().runLoop);
        state_->protectedProcesses.emplace(state_->kwin.bridge(), AppState::shared(),
                                           installedPlatform().workspace);
        return;
    }
    state_->builder.log()->start();
    state_->identities = std::make_unique<ProtectedIdentityKeeper>(
        AppState::shared(), state_->builder.applications(), state_->builder.protectedApplications(),
        installedPlatform().runLoop);
    state_->connectionLost = state_->builder.connection()->observeConnectionLost([] {
        installedPlatform().logger->error("Lost the connection to the X server");
        QCoreApplication::exit(EXIT_FAILURE);
    });
}

// The running Velmora has a guard of its own, and this one has none (a Velmora that a guard
// started never hands over), so there is nobody to tell.
void DesktopStartup::handedOver() {}

void DesktopStartup::watch(const std::shared_ptr<AppDelegate>& delegate) {
    state_->guard.watch(
        [weak = std::weak_ptr(delegate)] {
            const auto live = weak.lock();
            return live && live->hasLockEngine();
        },
        // The list that the running desktop's platform keeps up to date.
        [applications = chosenDesktop == DisplayEnvironment::Desktop::x11
                            ? state_->builder.protectedApplications()
                            : state_->kwin.protectedApplications()] {
            return applications->get();
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
