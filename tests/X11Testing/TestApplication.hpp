#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "X11Testing/ChildProcess.hpp"
#include "X11Testing/XvfbServer.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::testing {

/// The test client in a process of its own, with the window properties asked for (WM_CLASS,
/// _GTK_APPLICATION_ID, _NET_WM_PID, window type, state, geometry). The constructor returns
/// once its windows are mapped.
/// See velmora-test-client for the options. Throws std::runtime_error when the windows do not
/// appear in time.
class TestApplication {
public:
    TestApplication(const XvfbServer& server, std::vector<std::string> options);

    [[nodiscard]] pid_t pid() const { return process_->pid(); }
    [[nodiscard]] std::uint32_t window() const { return window_; }
    void kill() { process_->kill(); }

private:
    TemporaryDirectory scratch_;
    std::unique_ptr<ChildProcess> process_;
    std::uint32_t window_ = 0;
};

} // namespace velmora::testing
