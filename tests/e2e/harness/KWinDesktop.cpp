#include "harness/KWinDesktop.hpp"

#include "harness/Eventually.hpp"
#include "harness/UserDefaultsFile.hpp"

namespace velmora::e2e {
namespace {

constexpr const char* kProtectedId = "org.velmora.TestClient";

} // namespace

KWinDesktop::KWinDesktop(KWinSession& kwin) : kwin_(kwin), pam_(root_.path("pam"), kPassword) {
    std::filesystem::create_directories(output());
    // The test client under two names: the protected one and another application.
    for (const char* id : {kProtectedId, "org.velmora.Other"}) {
        install({id, id, TestClientProcess::program().string() + " --app-id " + id, id});
    }
}

void KWinDesktop::install(const DesktopEntry& entry) const {
    entry.writeInto(root_.path("home/.local/share"));
}

KWinDesktop::~KWinDesktop() {
    stop();
}

std::filesystem::path KWinDesktop::output() const {
    return root_.path("output");
}

Environment KWinDesktop::environment() const {
    Environment environment = kwin_.environment();
    const std::filesystem::path home = root_.path("home");
    environment.insert(environment.end(), {{"HOME", home.string()},
                                           {"XDG_CONFIG_HOME", (home / ".config").string()},
                                           {"XDG_DATA_HOME", (home / ".local/share").string()},
                                           {"XDG_DATA_DIRS", root_.path("share")}});
    const Environment pam = pam_.environment();
    environment.insert(environment.end(), pam.begin(), pam.end());
    return environment;
}

bool KWinDesktop::startVelmora(const std::filesystem::path& program,
                               std::int64_t idleTimeoutMinutes, bool withoutTray) {
    const std::filesystem::path home = root_.path("home");
    writeUserDefaults(home / ".config" / "velmora" / "defaults.json",
                      {{.bundleIdentifier = kProtectedId,
                        .displayName = "Test Client",
                        .idleTimeoutMinutes = idleTimeoutMinutes}});
    velmora_ = std::make_unique<VelmoraProcess>(program, output(),
                                                home / ".local/share" / "Brevane", environment());
    return velmora_->waitForOutput("Accessibility permission changed") &&
           (!withoutTray || waitForPanel());
}

bool KWinDesktop::waitForPanel() {
    return eventually([&] {
        const auto panel = kwin_.window("Velmora");
        panel_ = panel ? panel->frame : ScreenRect{};
        return panel && panel->pid == velmora_->pid();
    });
}

std::optional<KWinSession::Window> KWinDesktop::launch(const std::string& name,
                                                       TestClientProcess::Options options) {
    return start(name, options, environment());
}

std::optional<KWinSession::Window> KWinDesktop::launchThroughXwayland(const std::string& name) {
    Environment x11 = environment();
    x11.insert(x11.end(), {{"WAYLAND_DISPLAY", ""}, {"DISPLAY", kwin_.xwaylandDisplay()}});
    return start(name, {}, x11);
}

std::optional<KWinSession::Window> KWinDesktop::start(const std::string& name,
                                                      const TestClientProcess::Options& options,
                                                      const Environment& environment) {
    clients_.push_back(std::make_unique<TestClientProcess>(output(), name, options, environment));
    if (!clients_.back()->waitUntilReady()) {
        return std::nullopt;
    }
    return kwin_.waitForWindow(name);
}

std::optional<KWinSession::Window> KWinDesktop::waitForShieldOver(const ScreenRect& frame) {
    std::optional<KWinSession::Window> shield;
    eventually([&] {
        for (const auto& window : kwin_.windows()) {
            if (window.caption.starts_with(kShieldPrefix) && !window.minimized &&
                window.frame.contains(frame)) {
                shield = window;
                return true;
            }
        }
        return false;
    });
    return shield;
}

void KWinDesktop::stop() {
    if (velmora_) {
        velmora_->stop();
    }
    clients_.clear();
}

} // namespace velmora::e2e
