#pragma once

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace velmora::e2e {

using Environment = std::vector<std::pair<std::string, std::string>>;

/// What a finished command printed and how it ended.
struct CommandResult {
    /// The exit status, or -1 when it had to be killed at its deadline or died of a signal.
    int exitStatus = -1;
    std::string output;

    [[nodiscard]] bool succeeded() const { return exitStatus == 0; }
};

/// Runs `argv` (looked up in PATH) with `environment` added to this process's own and waits
/// for it, killing it after `timeout`. Standard output is collected; standard error passes
/// through to the test's own.
///
///     CommandResult result = runCommand({"xdotool", "key", "Return"}, {{"DISPLAY", ":7"}});
CommandResult runCommand(const std::vector<std::string>& argv, const Environment& environment,
                         std::chrono::milliseconds timeout = std::chrono::seconds{10});

} // namespace velmora::e2e
