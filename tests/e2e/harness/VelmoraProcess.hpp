#pragma once

#include "X11Testing/ChildProcess.hpp"
#include "harness/Command.hpp"

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace velmora::e2e {

/// The program under test, running in a test's session with its output kept in files.
class VelmoraProcess {
public:
    /// Starts `program`; standard output and error go to files in `outputDirectory`. Its log
    /// files are expected in `logDirectory`.
    VelmoraProcess(const std::filesystem::path& program,
                   const std::filesystem::path& outputDirectory, std::filesystem::path logDirectory,
                   const Environment& environment);
    ~VelmoraProcess();
    VelmoraProcess(const VelmoraProcess&) = delete;
    VelmoraProcess& operator=(const VelmoraProcess&) = delete;

    [[nodiscard]] int pid() const { return process_->pid(); }
    [[nodiscard]] bool isRunning() { return process_->isRunning(); }
    [[nodiscard]] std::string standardOutput() const;
    [[nodiscard]] std::string standardError() const;
    /// Every log file written so far, oldest first. The log is written in batches, so recent
    /// lines may still be in memory.
    [[nodiscard]] std::string log() const;
    /// Waits until standard output holds `text`; gives up early when Velmora has exited.
    bool waitForOutput(const std::string& text,
                       std::chrono::milliseconds timeout = std::chrono::seconds{10});
    /// Ends every Velmora of the session as a log-out would (SIGTERM, so that their logs are
    /// written out), and every guard.
    void stop();
    /// Every Velmora of the session that runs now: this one, or those its guard started.
    [[nodiscard]] std::vector<pid_t> sessionPids() const;
    /// The guards that watch Velmora in this session.
    [[nodiscard]] std::vector<pid_t> guardPids() const;
    /// Everything it wrote, for a failure message.
    [[nodiscard]] std::string report() const;

private:
    std::filesystem::path stdoutPath_;
    std::filesystem::path stderrPath_;
    std::filesystem::path logDirectory_;
    std::unique_ptr<testing::ChildProcess> process_;
};

} // namespace velmora::e2e
