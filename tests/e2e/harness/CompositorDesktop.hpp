#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "harness/DesktopEntry.hpp"
#include "harness/Eventually.hpp"
#include "harness/PamService.hpp"
#include "harness/TestClientProcess.hpp"
#include "harness/UserDefaultsFile.hpp"
#include "harness/VelmoraProcess.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::e2e {

/// One person's session on a shared Wayland compositor (KWinSession, SwaySession): a home and
/// XDG folders of its own, the test client installed as two applications
/// ("org.velmora.TestClient", protected, and "org.velmora.Other"), a PAM service that knows one
/// password, Velmora and the clients it starts. Everything it started ends with it.
template <class Session> class CompositorDesktop {
public:
    using Window = typename Session::Window;

    static constexpr const char* kPassword = "open-sesame-42";
    static constexpr const char* kShieldPrefix = "velmora-shield-";
    static constexpr const char* kProtectedId = "org.velmora.TestClient";

    explicit CompositorDesktop(Session& session)
        : session_(session), pam_(root_.path("pam"), kPassword) {
        std::filesystem::create_directories(output());
        // The test client under two names: the protected one and another application.
        for (const char* id : {kProtectedId, "org.velmora.Other"}) {
            install({id, id, TestClientProcess::program().string() + " --app-id " + id, id});
        }
    }
    ~CompositorDesktop() { stop(); }
    CompositorDesktop(const CompositorDesktop&) = delete;
    CompositorDesktop& operator=(const CompositorDesktop&) = delete;

    /// Velmora's output and the clients' logs.
    [[nodiscard]] std::filesystem::path output() const { return root_.path("output"); }
    [[nodiscard]] Environment environment() const {
        Environment environment = session_.environment();
        const std::filesystem::path home = root_.path("home");
        environment.insert(environment.end(), {{"HOME", home.string()},
                                               {"XDG_CONFIG_HOME", (home / ".config").string()},
                                               {"XDG_DATA_HOME", (home / ".local/share").string()},
                                               {"XDG_DATA_DIRS", root_.path("share")}});
        const Environment pam = pam_.environment();
        environment.insert(environment.end(), pam.begin(), pam.end());
        return environment;
    }

    /// Starts Velmora with the test client protected and, unless the session has a tray,
    /// waits until its panel has opened (it then opens as a window and takes the focus as it
    /// comes); false when it did not.
    bool startVelmora(const std::filesystem::path& program, std::int64_t idleTimeoutMinutes = 5,
                      bool inTray = false) {
        const std::filesystem::path home = root_.path("home");
        writeUserDefaults(home / ".config" / "velmora" / "defaults.json",
                          {{.bundleIdentifier = kProtectedId,
                            .displayName = "Test Client",
                            .idleTimeoutMinutes = idleTimeoutMinutes}});
        velmora_ = std::make_unique<VelmoraProcess>(
            program, output(), home / ".local/share" / "Brevane", environment());
        return velmora_->waitForOutput("Accessibility permission changed") &&
               (inTray || waitForPanel());
    }
    /// Waits until Velmora's panel is shown; false when it is not.
    bool waitForPanel() {
        return eventually([&] {
            const auto panel = window("Velmora");
            panel_ = panel ? panel->frame : ScreenRect{};
            return panel && panel->pid == velmora_->pid();
        });
    }
    [[nodiscard]] VelmoraProcess& velmora() { return *velmora_; }
    [[nodiscard]] bool hasVelmora() const { return velmora_ != nullptr; }
    /// Where Velmora's panel is.
    [[nodiscard]] const ScreenRect& panel() const { return panel_; }

    /// Installs another application for this person.
    void install(const DesktopEntry& entry) const {
        entry.writeInto(root_.path("home/.local/share"));
    }
    /// Starts a client titled `name` and waits for its window.
    std::optional<Window> launch(const std::string& name, TestClientProcess::Options options = {}) {
        return start(name, options, environment());
    }
    /// The same for an X11 client, through the compositor's Xwayland, known by its class
    /// alone as most X11 applications are (sway passes on no other name).
    std::optional<Window> launchThroughXwayland(const std::string& name) {
        Environment x11 = environment();
        x11.insert(x11.end(), {{"WAYLAND_DISPLAY", ""}, {"DISPLAY", session_.xwaylandDisplay()}});
        return start(name, {.appId = "", .wmClass = kProtectedId}, x11);
    }
    [[nodiscard]] TestClientProcess& client(std::size_t index) { return *clients_.at(index); }
    /// The session's window titled `caption`, if it has one.
    [[nodiscard]] std::optional<Window> window(const std::string& caption) {
        for (const Window& window : session_.windows()) {
            if (window.caption == caption) {
                return window;
            }
        }
        return std::nullopt;
    }
    /// Velmora's shield (card or cover) that holds `frame`, once one is shown.
    std::optional<Window> waitForShieldOver(const ScreenRect& frame) {
        std::optional<Window> shield;
        eventually([&] {
            for (const auto& window : session_.windows()) {
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
    /// Ends Velmora (and its guard) and the clients.
    void stop() {
        if (velmora_) {
            velmora_->stop();
        }
        clients_.clear();
    }

private:
    std::optional<Window> start(const std::string& name, const TestClientProcess::Options& options,
                                const Environment& environment) {
        clients_.push_back(
            std::make_unique<TestClientProcess>(output(), name, options, environment));
        std::optional<Window> shown;
        if (clients_.back()->waitUntilReady()) {
            eventually([&] { return (shown = window(name)) && !shown->minimized; },
                       std::chrono::seconds{10});
        }
        return shown;
    }

    Session& session_;
    testing::TemporaryDirectory root_;
    PamService pam_;
    std::unique_ptr<VelmoraProcess> velmora_;
    std::vector<std::unique_ptr<TestClientProcess>> clients_;
    ScreenRect panel_;
};

} // namespace velmora::e2e
