#pragma once

#include "X11Testing/ChildProcess.hpp"
#include "X11Testing/XvfbServer.hpp"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace velmora::testing {

/// A stand-in application in a process of its own: one mapped top-level window with the
/// properties asked for (WM_CLASS, _GTK_APPLICATION_ID, _NET_WM_PID, window type, state,
/// geometry). The constructor returns once the window is mapped.
///
///     TestApplication editor(server, {"--class", "editor,Editor", "--gtk-id", "org.ex.Editor"});
///     editor.window();   // its X window
///     editor.kill();     // the process ends; its window goes with its connection
///
/// See velmora-x11-test-client for the options. Throws std::runtime_error when the window
/// does not appear in time.
class TestApplication {
public:
    TestApplication(const XvfbServer& server, std::vector<std::string> options,
                    std::chrono::milliseconds timeout = std::chrono::milliseconds{5000});

    [[nodiscard]] pid_t pid() const { return process_->pid(); }
    [[nodiscard]] std::uint32_t window() const { return window_; }
    void kill() { process_->kill(); }

private:
    std::unique_ptr<ChildProcess> process_;
    std::uint32_t window_ = 0;
};

} // namespace velmora::testing
