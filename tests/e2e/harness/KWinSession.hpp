#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "X11Testing/ChildProcess.hpp"
#include "X11Testing/XvfbServer.hpp"
#include "harness/Command.hpp"
#include "harness/ScreenRect.hpp"
#include "harness/SessionBus.hpp"
#include "harness/XDisplay.hpp"
#include "harness/XdoTool.hpp"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::e2e {

/// A KDE Plasma Wayland compositor for a whole test suite: KWin in its X11 windowed mode on a
/// private Xvfb (1280×800, its output filling the X screen, so X coordinates are the
/// compositor's), with a session bus of its own. Input goes to the Xvfb with xdotool and
/// screenshots come from it. What KWin knows of its windows is asked through a short script
/// of the test's own.
class KWinSession {
public:
    /// What KWin says of one window.
    struct Window {
        std::string caption;
        int pid = 0;
        std::string appId;
        ScreenRect frame;
        bool minimized = false;
        bool active = false;
    };

    /// Throws std::runtime_error when KWin does not come up.
    KWinSession();
    ~KWinSession();
    KWinSession(const KWinSession&) = delete;
    KWinSession& operator=(const KWinSession&) = delete;

    /// Whether the packaged kwin_wayland is installed.
    [[nodiscard]] static bool available();

    /// The X display KWin's output is shown on: for xdotool and screenshots.
    [[nodiscard]] const std::string& xDisplay() const { return xvfb_->display(); }
    /// What a program of the Wayland session needs (no DISPLAY: no X there).
    [[nodiscard]] Environment environment() const;
    /// The display of KWin's Xwayland, for X11 clients on this session; empty when KWin runs
    /// none.
    [[nodiscard]] std::string xwaylandDisplay() const;
    [[nodiscard]] bool isRunning() { return kwin_->isRunning(); }
    /// A method call on the session's bus through dbus-send, with `arguments` after
    /// --print-reply; its reply, empty when none came.
    std::string call(const std::vector<std::string>& arguments) const;

    /// Every managed window, bottom to top; empty when KWin does not answer.
    [[nodiscard]] std::vector<Window> windows();
    /// Activates the window titled `caption`, as a click on its task bar entry would: when
    /// KWin did, by its own clock; nothing when there is no such window.
    std::optional<std::chrono::system_clock::time_point> activate(const std::string& caption);
    /// Moves and resizes the window titled `caption`, as a person dragging it would.
    bool place(const std::string& caption, const ScreenRect& frame);

    /// The whole output, or `area` of it.
    [[nodiscard]] Image capture(std::optional<ScreenRect> area = std::nullopt) {
        return display_->capture(area.value_or(display_->rootRect()));
    }
    bool click(int x, int y) const { return xdo_->click(x, y); }
    bool type(const std::string& text) const { return xdo_->type(text); }
    bool key(const std::string& keysym) const { return xdo_->key(keysym); }
    /// Types `text` a key a millisecond, while the caller goes on.
    [[nodiscard]] std::unique_ptr<testing::ChildProcess> startTyping(const std::string& text) const;

private:
    /// Runs `body` as a KWin script; its print() lines that start with `tag`.
    std::vector<std::string> runScript(const std::string& body);
    /// Runs `action` on the window titled `caption`; what it printed, nothing when there is
    /// no such window.
    std::vector<std::string> withWindow(const std::string& caption, const std::string& action);

    testing::TemporaryDirectory root_;
    std::unique_ptr<testing::XvfbServer> xvfb_;
    std::unique_ptr<XDisplay> display_;
    std::unique_ptr<XdoTool> xdo_;
    std::unique_ptr<SessionBus> bus_;
    std::unique_ptr<testing::ChildProcess> kwin_;
    std::filesystem::path log_;
    int scripts_ = 0;
};

} // namespace velmora::e2e
