#include "harness/VelmoraProcess.hpp"

#include "Support/TemporaryDirectory.hpp"
#include "harness/Eventually.hpp"
#include "harness/SessionProcesses.hpp"

#include <algorithm>
#include <csignal>
#include <vector>

namespace velmora::e2e {

using testing::readFile;

VelmoraProcess::VelmoraProcess(const std::filesystem::path& program,
                               const std::filesystem::path& outputDirectory,
                               std::filesystem::path logDirectory, const Environment& environment)
    : stdoutPath_(outputDirectory / "velmora.stdout"),
      stderrPath_(outputDirectory / "velmora.stderr"), logDirectory_(std::move(logDirectory)) {
    adoptOrphans();
    // Line-buffered, so a printed line is in the file as soon as it is printed; exec keeps
    // the process id, so ending the child ends Velmora.
    process_ = std::make_unique<testing::ChildProcess>(
        std::vector<std::string>{"sh", "-c", R"(exec stdbuf -oL -eL "$0" >"$1" 2>"$2")",
                                 program.string(), stdoutPath_.string(), stderrPath_.string()},
        environment);
}

VelmoraProcess::~VelmoraProcess() {
    stop();
}

void VelmoraProcess::stop() {
    const auto signalAll = [](const std::vector<pid_t>& pids, int signal) {
        for (const pid_t pid : pids) {
            ::kill(pid, signal);
        }
    };
    // Velmora and its guard start each other again: the guards are held still while every
    // Velmora ends (asked first, so that its log is written out), then they go too. A
    // Velmora that started a new guard meanwhile makes another round.
    for (int round = 0; round < 5; ++round) {
        const auto guards = guardPids();
        const auto velmoras = sessionPids();
        if (guards.empty() && velmoras.empty()) {
            break;
        }
        signalAll(guards, SIGSTOP);
        signalAll(velmoras, round == 0 ? SIGTERM : SIGKILL);
        if (round == 0) {
            process_->terminate(std::chrono::seconds{3});
        }
        eventually([&] { return sessionPids().empty(); }, std::chrono::seconds{3});
        signalAll(sessionPids(), SIGKILL);
        signalAll(guardPids(), SIGKILL);
        eventually([&] { return guardPids().empty() && sessionPids().empty(); });
    }
}

std::vector<pid_t> VelmoraProcess::sessionPids() const {
    return sessionProcesses("velmora");
}

std::vector<pid_t> VelmoraProcess::guardPids() const {
    return sessionProcesses("velmora-guard");
}

std::string VelmoraProcess::standardOutput() const {
    return readFile(stdoutPath_);
}

std::string VelmoraProcess::standardError() const {
    return readFile(stderrPath_);
}

std::string VelmoraProcess::log() const {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(logDirectory_, error)) {
        files.push_back(entry.path());
    }
    // Names carry the start time, so name order is age order.
    std::sort(files.begin(), files.end());
    std::string text;
    for (const auto& file : files) {
        text += readFile(file);
    }
    return text;
}

bool VelmoraProcess::waitForOutput(const std::string& text, std::chrono::milliseconds timeout) {
    const auto printed = [&] { return standardOutput().find(text) != std::string::npos; };
    eventually([&] { return printed() || !isRunning(); }, timeout);
    return printed();
}

std::string VelmoraProcess::report() const {
    return "--- velmora standard output ---\n" + standardOutput() +
           "--- velmora standard error ---\n" + standardError() + "--- velmora log ---\n" + log();
}

} // namespace velmora::e2e
