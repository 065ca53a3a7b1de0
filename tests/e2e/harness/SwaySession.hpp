#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "X11Testing/ChildProcess.hpp"
#include "harness/Command.hpp"
#include "harness/Image.hpp"
#include "harness/ScreenRect.hpp"
#include "harness/SessionBus.hpp"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::e2e {

/// A headless sway (one 1280×720 output, no input devices) for a whole test suite. sway will
/// not run as root, so it runs as nobody in a runtime folder of that user's own; the tests'
/// programs run as root, which may reach its sockets. Screenshots come from grim, keys from
/// wtype, clicks from a virtual pointer of the tests' own, and what sway knows of its windows
/// from its IPC.
class SwaySession {
public:
    /// What sway says of one window.
    struct Window {
        std::string caption;
        int pid = 0;
        /// The Wayland app_id, or the X11 class of an Xwayland window.
        std::string appId;
        /// With its title bar.
        ScreenRect frame;
        bool active = false;
        /// Moved to the scratchpad and not shown from it.
        bool minimized = false;
    };

    /// Throws std::runtime_error when sway does not come up.
    SwaySession();
    ~SwaySession();
    SwaySession(const SwaySession&) = delete;
    SwaySession& operator=(const SwaySession&) = delete;

    /// Whether sway, grim and wtype are installed.
    [[nodiscard]] static bool available();

    /// What a program of the session needs: its Wayland socket, its IPC socket, a session bus
    /// and a runtime folder of the tests' own (no DISPLAY: no X there).
    [[nodiscard]] Environment environment() const;
    /// Starts swaybar, its tray in the top right corner; none when it does not come up.
    [[nodiscard]] std::unique_ptr<testing::ChildProcess> startBar() const;
    /// The display of sway's Xwayland, open to the tests' clients.
    [[nodiscard]] std::string xwaylandDisplay();
    [[nodiscard]] bool isRunning() { return sway_->isRunning(); }

    /// Every window, in tree order; empty when sway does not answer.
    [[nodiscard]] std::vector<Window> windows();
    /// Focuses the window titled `title`, as a click on it would (out of the scratchpad too):
    /// when sway had done it; nothing when there is no such window.
    std::optional<std::chrono::system_clock::time_point> activate(const std::string& title);

    /// The whole output, or `area` of it.
    [[nodiscard]] Image capture(std::optional<ScreenRect> area = std::nullopt);
    /// Moves the pointer to (x, y) and clicks there with the left button.
    bool click(int x, int y);
    /// Types `text` into the focused window.
    bool type(const std::string& text);
    /// Presses and releases a key by its keysym name ("Return", "Tab").
    bool key(const std::string& keysym);
    /// Types `text` a key every two milliseconds, while the caller goes on.
    [[nodiscard]] std::unique_ptr<testing::ChildProcess> startTyping(const std::string& text) const;

private:
    testing::TemporaryDirectory root_;
    std::filesystem::path runtime_;
    std::filesystem::path log_;
    std::filesystem::path pointerPipe_;
    std::string wayland_;
    std::string ipc_;
    std::unique_ptr<SessionBus> bus_;
    std::unique_ptr<testing::ChildProcess> sway_;
    std::unique_ptr<testing::ChildProcess> pointer_;
};

} // namespace velmora::e2e
