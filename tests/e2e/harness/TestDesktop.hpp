#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "X11Testing/ChildProcess.hpp"
#include "X11Testing/XvfbServer.hpp"
#include "harness/Command.hpp"
#include "harness/DesktopEntry.hpp"
#include "harness/PamService.hpp"
#include "harness/TestClientProcess.hpp"
#include "harness/UserDefaultsFile.hpp"
#include "harness/VelmoraProcess.hpp"
#include "harness/XDisplay.hpp"
#include "harness/XdoTool.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::e2e {

/// A whole private desktop session for one test: an X server (with openbox, or i3, or none), a home
/// and XDG directories of its own, Velmora's stored settings, installed applications and a PAM
/// service that knows one password. Nothing of the person's own display, files or bus is used.
class TestDesktop {
public:
    struct Options {
        /// Whether openbox animates iconifying and restoring windows.
        bool windowAnimations = true;
        /// i3, which tiles and refuses to iconify, instead of openbox.
        bool tiling = false;
        /// A system tray (trayer, along the top edge) for Velmora's icon.
        bool trayHost = false;
        std::vector<ProtectedAppEntry> protectedApps{};
        std::vector<DesktopEntry> applications{};
    };

    /// The owner's password in every test session.
    static constexpr const char* kPassword = "open-sesame-42";

    explicit TestDesktop(const Options& options);

    [[nodiscard]] XDisplay& display() { return *display_; }
    /// The X display's name, e.g. ":7".
    [[nodiscard]] const std::string& displayName() const { return server_->display(); }
    [[nodiscard]] const XdoTool& xdo() const { return *xdo_; }
    /// What every program of the session sees: DISPLAY, HOME, XDG_*, and no session bus.
    [[nodiscard]] Environment environment() const;

    [[nodiscard]] std::unique_ptr<VelmoraProcess>
    startVelmora(const std::filesystem::path& program) const;
    [[nodiscard]] std::unique_ptr<TestClientProcess>
    launchClient(const std::string& name, const TestClientProcess::Options& options = {}) const;
    /// Any other program of the session (an xterm, ...).
    [[nodiscard]] std::unique_ptr<testing::ChildProcess>
    launch(std::vector<std::string> argv) const;
    /// Waits until a managed window of `pid` is on screen: without a tray, Velmora opens its
    /// panel as a window at start, and a window mapped later takes the focus from whatever was
    /// brought to the front meanwhile. False when none shows.
    bool waitForManagedWindowOf(int pid);
    [[nodiscard]] bool hasTrayHost() const { return trayHost_ != nullptr; }
    /// The programs' own configuration folder ($XDG_CONFIG_HOME).
    [[nodiscard]] const std::filesystem::path& configHome() const { return configHome_; }
    /// The person's own data folder ($XDG_DATA_HOME), where their desktop entries go.
    [[nodiscard]] const std::filesystem::path& dataHome() const { return dataHome_; }
    /// Where installed applications' desktop entries are.
    [[nodiscard]] std::filesystem::path applicationsDirectory() const;

private:
    testing::TemporaryDirectory root_;
    std::filesystem::path home_;
    std::filesystem::path configHome_;
    std::filesystem::path dataHome_;
    std::filesystem::path dataDirs_;
    std::filesystem::path runtimeDir_;
    std::filesystem::path outputDir_;
    PamService pam_;
    std::unique_ptr<testing::XvfbServer> server_;
    std::unique_ptr<XDisplay> display_;
    std::unique_ptr<XdoTool> xdo_;
    std::unique_ptr<testing::ChildProcess> trayHost_;
};

} // namespace velmora::e2e
