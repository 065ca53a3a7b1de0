#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "harness/DesktopEntry.hpp"
#include "harness/KWinSession.hpp"
#include "harness/PamService.hpp"
#include "harness/TestClientProcess.hpp"
#include "harness/VelmoraProcess.hpp"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::e2e {

/// One person's session on a shared KWin: a home and XDG folders of its own, the test client
/// installed as two applications ("org.velmora.TestClient", protected, and "org.velmora.Other"),
/// a PAM service that knows one password, Velmora and the clients it starts. Everything it
/// started ends with it.
///
///     KWinDesktop desktop(kwin);
///     desktop.startVelmora(program);
///     auto window = desktop.launch("locked");
class KWinDesktop {
public:
    static constexpr const char* kPassword = "open-sesame-42";
    static constexpr const char* kShieldPrefix = "velmora-shield-";

    explicit KWinDesktop(KWinSession& kwin);
    ~KWinDesktop();
    KWinDesktop(const KWinDesktop&) = delete;
    KWinDesktop& operator=(const KWinDesktop&) = delete;

    /// Velmora's output and the clients' logs.
    [[nodiscard]] std::filesystem::path output() const;
    [[nodiscard]] Environment environment() const;

    /// Starts Velmora with the test client protected and, with no tray on the session, waits
    /// until its panel has opened (it then opens as a window and takes the focus as it
    /// comes); false when it did not.
    bool startVelmora(const std::filesystem::path& program, std::int64_t idleTimeoutMinutes = 5,
                      bool withoutTray = true);
    /// Waits until Velmora's panel is shown; false when it is not.
    bool waitForPanel();
    [[nodiscard]] VelmoraProcess& velmora() { return *velmora_; }
    [[nodiscard]] bool hasVelmora() const { return velmora_ != nullptr; }
    /// Where Velmora's panel is.
    [[nodiscard]] const ScreenRect& panel() const { return panel_; }

    /// Installs another application for this person.
    void install(const DesktopEntry& entry) const;
    /// Starts a client titled `name` and waits for its window.
    std::optional<KWinSession::Window> launch(const std::string& name,
                                              TestClientProcess::Options options = {});
    /// The same for an X11 client, through KWin's Xwayland.
    std::optional<KWinSession::Window> launchThroughXwayland(const std::string& name);
    [[nodiscard]] TestClientProcess& client(std::size_t index) { return *clients_.at(index); }
    /// Velmora's shield (card or cover) that holds `frame`, once one is shown.
    std::optional<KWinSession::Window> waitForShieldOver(const ScreenRect& frame);
    /// Ends Velmora (and its guard) and the clients.
    void stop();

private:
    std::optional<KWinSession::Window> start(const std::string& name,
                                             const TestClientProcess::Options& options,
                                             const Environment& environment);

    KWinSession& kwin_;
    testing::TemporaryDirectory root_;
    PamService pam_;
    std::unique_ptr<VelmoraProcess> velmora_;
    std::vector<std::unique_ptr<TestClientProcess>> clients_;
    ScreenRect panel_;
};

} // namespace velmora::e2e
