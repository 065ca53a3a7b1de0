#include "harness/TestDesktop.hpp"

#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

std::filesystem::path makeDirectory(const std::filesystem::path& path) {
    std::filesystem::create_directories(path);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

} // namespace

TestDesktop::TestDesktop(const Options& options)
    : home_(makeDirectory(root_.path("home"))), configHome_(makeDirectory(home_ / ".config")),
      dataHome_(makeDirectory(home_ / ".local" / "share")),
      dataDirs_(makeDirectory(root_.path("share"))),
      runtimeDir_(makeDirectory(root_.path("runtime"))),
      outputDir_(makeDirectory(root_.path("output"))), pam_(root_.path("pam"), kPassword) {
    writeUserDefaults(configHome_ / "velmora" / "defaults.json", options.protectedApps);
    for (const auto& application : options.applications) {
        application.writeInto(dataHome_);
    }
    server_ = std::make_unique<testing::XvfbServer>(testing::XvfbServer::Options{
        .windowManager = true, .animations = options.windowAnimations, .tiling = options.tiling});
    display_ = std::make_unique<XDisplay>(server_->display());
    xdo_ = std::make_unique<XdoTool>(server_->display());
    if (options.trayHost) {
        trayHost_ = launch({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                            "--height", "24", "--transparent", "false"});
        // Qt looks for a tray once, when Velmora starts.
        if (!eventually([&] { return display_->selectionOwner("_NET_SYSTEM_TRAY_S0"); })) {
            throw std::runtime_error("trayer did not take the system tray");
        }
    }
}

std::filesystem::path TestDesktop::applicationsDirectory() const {
    return dataHome_ / "applications";
}

Environment TestDesktop::environment() const {
    // The session has no bus: the address names nothing.
    return {{"DISPLAY", server_->display()},
            {"HOME", home_.string()},
            {"XDG_CONFIG_HOME", configHome_.string()},
            {"XDG_DATA_HOME", dataHome_.string()},
            {"XDG_DATA_DIRS", dataDirs_.string()},
            {"XDG_RUNTIME_DIR", runtimeDir_.string()},
            {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (runtimeDir_ / "no-bus").string()},
            {"XDG_SESSION_TYPE", "x11"},
            {"QT_QPA_PLATFORM", "xcb"},
            // Empty: no program of the test session registers with the person's own session.
            {"SESSION_MANAGER", ""}};
}

std::unique_ptr<VelmoraProcess>
TestDesktop::startVelmora(const std::filesystem::path& program) const {
    Environment environment = this->environment();
    const Environment pam = pam_.environment();
    environment.insert(environment.end(), pam.begin(), pam.end());
    return std::make_unique<VelmoraProcess>(program, outputDir_, dataHome_ / "Brevane",
                                            environment);
}

std::unique_ptr<TestClientProcess>
TestDesktop::launchClient(const std::string& name,
                          const TestClientProcess::Options& options) const {
    return std::make_unique<TestClientProcess>(outputDir_, name, options, environment());
}

std::unique_ptr<testing::ChildProcess> TestDesktop::launch(std::vector<std::string> argv) const {
    return std::make_unique<testing::ChildProcess>(std::move(argv), environment());
}

bool TestDesktop::waitForManagedWindowOf(int pid) {
    return display_
        ->waitFor([&](const WindowInfo& window) {
            return window.pid == pid && window.viewable && !window.overrideRedirect;
        })
        .has_value();
}

} // namespace velmora::e2e
