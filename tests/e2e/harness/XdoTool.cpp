#include "harness/XdoTool.hpp"

namespace velmora::e2e {

bool XdoTool::activate(xcb_window_t window) const {
    return run({"windowactivate", "--sync", std::to_string(window)});
}

bool XdoTool::key(const std::string& keys) const {
    return run({"key", "--clearmodifiers", keys});
}

bool XdoTool::type(const std::string& text) const {
    return run({"type", "--delay", "20", text});
}

bool XdoTool::click(int x, int y, int button) const {
    // No --sync: it waits for the pointer to move, for ever when it is already there. The
    // server handles the motion before the click anyway.
    return run(
        {"mousemove", std::to_string(x), std::to_string(y), "click", std::to_string(button)});
}

bool XdoTool::run(std::vector<std::string> arguments) const {
    arguments.insert(arguments.begin(), "xdotool");
    return runCommand(arguments, environment_);
}

} // namespace velmora::e2e
