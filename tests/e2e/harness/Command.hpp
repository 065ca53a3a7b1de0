#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace velmora::e2e {

using Environment = std::vector<std::pair<std::string, std::string>>;

/// Runs `argv` (looked up in PATH) with `environment` added to this process's own, waits for
/// it and answers whether it exited with status 0. It is killed, and counts as failed, when
/// it runs longer than `timeout`.
///
///     bool pressed = runCommand({"xdotool", "key", "Return"}, {{"DISPLAY", ":7"}});
bool runCommand(const std::vector<std::string>& argv, const Environment& environment,
                std::chrono::milliseconds timeout = std::chrono::seconds{10});

} // namespace velmora::e2e
