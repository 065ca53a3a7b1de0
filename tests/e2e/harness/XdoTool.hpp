#pragma once

#include "harness/Command.hpp"

#include <string>
#include <xcb/xcb.h>

namespace velmora::e2e {

/// Drives the test's X server as a person would, through xdotool: input goes through XTEST,
/// so it reaches whatever window is really under the pointer or has the focus.
class XdoTool {
public:
    explicit XdoTool(std::string display) : environment_{{"DISPLAY", std::move(display)}} {}

    /// Asks the window manager to bring `window` to the front and waits until it has.
    bool activate(xcb_window_t window) const;
    /// Presses and releases a key by its X keysym name ("Return", "a", "ctrl+w").
    bool key(const std::string& keys) const;
    bool type(const std::string& text) const;
    /// Moves the pointer to root coordinates (x, y) and clicks `button` there.
    bool click(int x, int y, int button = 1) const;
    /// Runs one xdotool with `arguments`, which may chain several commands.
    bool run(std::vector<std::string> arguments) const;

private:
    Environment environment_;
};

} // namespace velmora::e2e
