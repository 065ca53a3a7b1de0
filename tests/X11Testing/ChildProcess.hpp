#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::testing {

/// A helper program a test runs beside it (an X server, a window manager, an xterm). It dies
/// with the test process and is ended when the handle goes.
class ChildProcess {
public:
    using Environment = std::vector<std::pair<std::string, std::string>>;

    /// Starts `argv` (looked up in PATH) with `environment` added to this process's own.
    /// `inheritedFd`, when not -1, stays open in the child. Throws std::runtime_error when
    /// the program cannot be started.
    explicit ChildProcess(std::vector<std::string> argv, Environment environment = {},
                          int inheritedFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    [[nodiscard]] pid_t pid() const { return pid_; }
    /// False once the program has exited (it is then reaped).
    [[nodiscard]] bool isRunning();
    /// SIGTERM, then SIGKILL when it has not exited within `grace`. Returns once it is reaped.
    void terminate(std::chrono::milliseconds grace = std::chrono::milliseconds{2000});
    /// SIGKILL, and returns once it is reaped.
    void kill();
    /// Waits until it has exited; false when it still runs after `timeout`.
    bool waitForExit(std::chrono::milliseconds timeout);
    /// Its exit status once it exited normally, else -1.
    [[nodiscard]] int exitStatus() const { return exitStatus_; }

private:
    void reaped(int status);

    std::string name_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    int exitStatus_ = -1;
};

/// Starts a server that reports where it listens (an X display, a bus address) on a file
/// descriptor given on its command line: "{fd}" in `argv` is replaced by its number. Answers
/// the first line it writes there; throws std::runtime_error when none comes in `timeout`.
std::unique_ptr<ChildProcess>
startReporting(std::vector<std::string> argv, std::string& line,
               std::chrono::milliseconds timeout = std::chrono::milliseconds{10000});

/// Runs a short command (xdotool, xrandr) to its end: its exit status, or -1 when it failed
/// or did not end within `timeout` (it is killed then).
int runCommand(std::vector<std::string> argv, ChildProcess::Environment environment,
               std::chrono::milliseconds timeout = std::chrono::milliseconds{5000});

} // namespace velmora::testing
