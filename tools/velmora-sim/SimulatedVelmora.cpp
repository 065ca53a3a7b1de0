#include "SimulatedVelmora.hpp"

namespace velmora::scenario {

void RecordedLog::log(std::string_view message, LogLevel level, std::string_view file,
                      std::string_view function, int line) {
    std::string text(function);
    text.append(": ").append(message);
    lines_.push_back(std::move(text));
    file_->log(message, level, file, function, line);
}

SimulatedVelmora::SimulatedVelmora(const std::filesystem::path& logDirectory)
    : desktop_(std::make_unique<SimDesktop>(
          std::vector<Screen>{{"Built-in Display", {0, 0, 1440, 900}}})),
      fileLogger_(AppLogger::create(logDirectory, desktop_->loop, desktop_->loop)),
      log_(std::make_shared<RecordedLog>(fileLogger_)) {}

SimulatedVelmora::~SimulatedVelmora() {
    delegate_.reset();
    engine_.reset();
    permissions_.reset();
    overlays_.reset();
    authManager_.reset();
    appState_.reset();
    desktop_.reset();
}

AppState& SimulatedVelmora::appState() {
    return *sharedAppState();
}

const std::shared_ptr<AppState>& SimulatedVelmora::sharedAppState() {
    if (!appState_) {
        appState_ = AppState::create(AppState::collaborators(desktop_->platform(log_)));
    }
    return appState_;
}

bool SimulatedVelmora::launch() {
    if (delegate_) {
        return false;
    }
    SimDesktop& d = *desktop_;
    sharedAppState();
    const auto contexts = makeContextFactory(d.authenticator);
    authManager_ = std::make_shared<AuthManager>(d.loop, contexts);
    overlays_ = std::make_shared<OverlayWindowController>(log_, d.overlayWindows, contexts);
    delegate_ = AppDelegate::create({
        // Real signal handlers would take over the runner's own process; the simulated
        // program has no crash to record.
        .installCrashReporter = {},
        .permissionsManager = [this] { return makePermissionsManager(); },
        .lockEngine = [this] { return makeLockEngine(); },
        .authenticator = authManager_,
        .application = d.hostApplication,
        .workspace = d.workspace,
        .notificationCenter = d.notificationCenter,
        .runLoop = d.loop,
        .logger = log_,
    });
    d.hostApplication->setDelegate(delegate_);
    d.hostApplication->finishLaunching();
    d.loop->runUntilIdle();
    return true;
}

std::shared_ptr<PermissionsManager> SimulatedVelmora::makePermissionsManager() {
    permissions_ =
        PermissionsManager::create(PermissionsManager::collaborators(desktop_->platform(log_)));
    return permissions_;
}

std::shared_ptr<LockEngine> SimulatedVelmora::makeLockEngine() {
    engine_ = LockEngine::create(LockEngine::collaborators(
        desktop_->platform(log_), sharedAppState(), authManager_, overlays_));
    return engine_;
}

} // namespace velmora::scenario
