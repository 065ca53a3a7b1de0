#pragma once

#include "X11Testing/ChildProcess.hpp"

namespace velmora::e2e {

using Environment = testing::ChildProcess::Environment;

/// Whether `argv` ran to exit status 0 within `timeout` (it is killed past it).
///
///     bool pressed = runCommand({"xdotool", "key", "Return"}, {{"DISPLAY", ":7"}});
inline bool runCommand(std::vector<std::string> argv, Environment environment,
                       std::chrono::milliseconds timeout = std::chrono::seconds{10}) {
    return testing::runCommand(std::move(argv), std::move(environment), timeout) == 0;
}

} // namespace velmora::e2e
