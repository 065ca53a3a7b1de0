#pragma once

#include "harness/OtherClient.hpp"
#include "harness/TestDesktop.hpp"
#include "harness/VelmoraWindows.hpp"

#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace velmora::e2e {

/// A test of the real program on a private desktop. Skips when Velmora is not built.
class EndToEndTest : public ::testing::Test {
protected:
    static constexpr Rgb kClientColor = Rgb::fromHex(0xff00ff);

    /// The test client on the protected list, as the owner adds it.
    [[nodiscard]] static ProtectedAppEntry testClientEntry(std::int64_t idleTimeoutMinutes = 5);

    void SetUp() override;
    void TearDown() override;

    /// Also installs the test client's desktop entry.
    void startDesktop(TestDesktop::Options options);
    /// Starts Velmora and waits until it has judged its permissions.
    void startVelmora();
    [[nodiscard]] TestDesktop& desktop() { return *desktop_; }
    [[nodiscard]] VelmoraProcess& velmora() { return *velmora_; }

    /// Starts a client and waits for its first window.
    [[nodiscard]] std::optional<WindowInfo> launchClient(const std::string& name,
                                                         TestClientProcess::Options options = {});
    [[nodiscard]] TestClientProcess& client(std::size_t index = 0) { return *clients_.at(index); }
    /// A client's window and the overlay over it.
    struct CoveredWindow {
        WindowInfo window;
        WindowInfo overlay;
    };
    /// Starts a client, brings it to the front and waits for its cover; none, with a failure
    /// added, when it is not covered.
    [[nodiscard]] std::optional<CoveredWindow>
    launchCoveredClient(const std::string& name, TestClientProcess::Options options = {});
    /// An unprotected xterm of `background` ("#rrggbb") at `geometry`, titled "elsewhere",
    /// once it shows; none, with a failure added, when it does not.
    [[nodiscard]] std::optional<WindowInfo> launchTerminal(const std::string& background,
                                                           const std::string& geometry);
    /// Brings `window` to the front and answers it as it is now.
    WindowInfo activate(const WindowInfo& window);

    /// Velmora's windows as the person at this desktop meets them.
    [[nodiscard]] VelmoraWindows velmoraWindows() const;
    [[nodiscard]] bool isVelmoraWindow(const WindowInfo& window) const;
    /// Velmora's overlay above `window`'s frame, once it covers it.
    [[nodiscard]] std::optional<WindowInfo>
    waitForOverlayOver(const WindowInfo& window,
                       std::chrono::milliseconds timeout = std::chrono::seconds{5});
    /// Whether any pixel of `color` shows in `area`.
    [[nodiscard]] bool shows(const ScreenRect& area, Rgb color);
    /// Iconified, unmapped or gone.
    [[nodiscard]] bool isHidden(const WindowInfo& window) const;
    /// Clicks the Unlock button on `overlay`'s lock card and waits for the password prompt
    /// to have the keyboard focus.
    [[nodiscard]] std::optional<WindowInfo> openPasswordPrompt(const WindowInfo& overlay);
    /// Another client of the session, made on first use: XTEST keys, grabs, popups.
    [[nodiscard]] OtherClient& otherClient();
    /// Waits until some client other than `otherClient()` holds the keyboard: Velmora, over
    /// a covered application with the focus.
    [[nodiscard]] bool waitUntilKeyboardHeld();
    /// No pixel of the first client on the screen, and no input ever reached it.
    void expectClientUnseenAndUntouched();
    /// Unlocks the application under `overlay` with the right password.
    [[nodiscard]] bool unlock(const WindowInfo& overlay, const WindowInfo& window, Rgb color);

private:
    std::unique_ptr<TestDesktop> desktop_;
    std::unique_ptr<VelmoraProcess> velmora_;
    std::vector<std::unique_ptr<TestClientProcess>> clients_;
    std::vector<std::unique_ptr<testing::ChildProcess>> terminals_;
    std::unique_ptr<OtherClient> otherClient_;
};

/// A test that starts with Velmora running, by default on a desktop where the test client is
/// protected.
class RunningVelmoraTest : public EndToEndTest {
protected:
    [[nodiscard]] virtual TestDesktop::Options desktopOptions() const {
        return {.protectedApps = {testClientEntry()}};
    }
    void SetUp() override;
};

} // namespace velmora::e2e
