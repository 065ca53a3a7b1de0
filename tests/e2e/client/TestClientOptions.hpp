#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora::e2e {

/// How the test application presents itself, from its command line.
struct TestClientOptions {
    std::string wmInstance = "velmora-test-client";
    std::string wmClass = "VelmoraTestClient";
    std::optional<std::string> appId;
    std::string title = "Velmora Test Client";
    std::uint32_t rgb = 0xff00ff;
    int width = 400;
    int height = 300;
    int x = 100;
    int y = 100;
    int windows = 1;
    std::optional<std::string> logFile;
    bool popup = false;
    /// The top-level windows themselves are override-redirect: unmanaged, as a tooltip is.
    bool overrideRedirect = false;
    /// Without _NET_WM_PID, so only the server can tell whose the windows are.
    bool noPid = false;
    /// _NET_WM_WINDOW_TYPE_<type> and _NET_WM_STATE_<state>, e.g. "DOCK" and "ABOVE".
    std::optional<std::string> windowType;
    std::vector<std::string> states;
    /// Every window after the first is transient for it, so they iconify and come back with it.
    bool transient = false;
    std::optional<std::string> readyFile;
    /// The Wayland client opens one more window this many milliseconds after it started.
    std::optional<int> openWindowAfterMs;

    /// The options, or nothing with `error` set to a one-line explanation.
    static std::optional<TestClientOptions> parse(const std::vector<std::string>& arguments,
                                                  std::string& error);
};

} // namespace velmora::e2e
