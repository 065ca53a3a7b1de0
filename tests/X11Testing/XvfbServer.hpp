#pragma once

#include "Support/TemporaryDirectory.hpp"
#include "X11Testing/ChildProcess.hpp"

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace velmora::testing {

/// A private X server (Xvfb, 1280×800, no TCP) for one test, optionally with a window
/// manager (openbox, or the tiling i3) that is ready when the constructor returns. Everything is
/// ended when the server goes.
/// Throws std::runtime_error when the server or the window manager does not come up in time.
class XvfbServer {
public:
    struct Options {
        bool windowManager = false;
        /// Whether openbox animates iconifying and restoring windows, as it does by default.
        bool animations = true;
        /// i3 instead of openbox: it tiles windows and refuses to iconify them.
        bool tiling = false;
        /// Further server options, e.g. {"-extension", "X-Resource"}.
        std::vector<std::string> serverArguments{};
    };

    XvfbServer();
    explicit XvfbServer(Options options);
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    /// The DISPLAY string, e.g. ":5".
    [[nodiscard]] const std::string& display() const { return display_; }
    /// The environment a client program needs to use this server (DISPLAY and the private
    /// XDG_CONFIG_HOME).
    [[nodiscard]] ChildProcess::Environment environment() const;
    /// Kills the X server at once, as a crash would; its clients lose their connections.
    void kill();

private:
    /// Starts the window manager and waits until it handles windows.
    void startWindowManager();

    Options options_;
    TemporaryDirectory configHome_;
    std::string display_;
    std::unique_ptr<ChildProcess> xvfb_;
    std::unique_ptr<ChildProcess> windowManager_;
};

} // namespace velmora::testing
