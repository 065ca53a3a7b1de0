#pragma once

#include "X11Testing/ChildProcess.hpp"

#include <string>

namespace velmora::e2e {

using Environment = testing::ChildProcess::Environment;

/// Whether `argv` ran to exit status 0 within `timeout` (it is killed past it).
inline bool runCommand(std::vector<std::string> argv, Environment environment,
                       std::chrono::milliseconds timeout = std::chrono::seconds{10}) {
    return testing::runCommand(std::move(argv), std::move(environment), timeout) == 0;
}

/// `text` as one word of a POSIX shell command.
std::string shellQuoted(const std::string& text);

/// The standard output of a short command (its errors are dropped); empty when it could not run.
std::string outputOf(const std::vector<std::string>& argv, const Environment& environment);

} // namespace velmora::e2e
