#include "X11Testing/ChildProcess.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testing {

ChildProcess::ChildProcess(std::vector<std::string> argv, Environment environment, int inheritedFd)
    : name_(argv.at(0)) {
    std::vector<char*> args;
    for (auto& arg : argv) {
        args.push_back(arg.data());
    }
    args.push_back(nullptr);

    // A pipe closed on exec tells the parent whether exec worked.
    int status[2];
    if (pipe2(status, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed: " + std::string(std::strerror(errno)));
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ < 0) {
        close(status[0]);
        close(status[1]);
        throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
    }
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        if (inheritedFd != -1) {
            fcntl(inheritedFd, F_SETFD, 0);
        }
        for (const auto& [key, value] : environment) {
            setenv(key.c_str(), value.c_str(), 1);
        }
        execvp(args[0], args.data());
        const int error = errno;
        (void)!write(status[1], &error, sizeof error);
        _exit(127);
    }
    close(status[1]);
    int error = 0;
    const auto got = read(status[0], &error, sizeof error);
    close(status[0]);
    if (got == static_cast<ssize_t>(sizeof error)) {
        waitpid(pid_, nullptr, 0);
        reaped_ = true;
        throw std::runtime_error("cannot start " + name_ + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess() {
    terminate();
}

bool ChildProcess::isRunning() {
    if (reaped_) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        reaped(status);
    }
    return !reaped_;
}

void ChildProcess::terminate(std::chrono::milliseconds grace) {
    if (!isRunning()) {
        return;
    }
    ::kill(pid_, SIGTERM);
    if (!waitForExit(grace)) {
        kill();
    }
}

void ChildProcess::kill() {
    if (reaped_) {
        return;
    }
    ::kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    reaped(status);
}

void ChildProcess::reaped(int status) {
    reaped_ = true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    if (pidfd < 0) {
        return !isRunning();
    }
    pollfd exited{pidfd, POLLIN, 0};
    poll(&exited, 1, static_cast<int>(timeout.count()));
    close(pidfd);
    return !isRunning();
}

std::unique_ptr<ChildProcess> startReporting(std::vector<std::string> argv, std::string& line,
                                             std::chrono::milliseconds timeout) {
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed: " + std::string(std::strerror(errno)));
    }
    for (std::string& arg : argv) {
        if (const auto at = arg.find("{fd}"); at != std::string::npos) {
            arg.replace(at, 4, std::to_string(report[1]));
        }
    }
    const std::string name = argv.empty() ? std::string{} : argv.front();
    std::unique_ptr<ChildProcess> server;
    try {
        server =
            std::make_unique<ChildProcess>(std::move(argv), ChildProcess::Environment{}, report[1]);
    } catch (...) {
        close(report[0]);
        close(report[1]);
        throw;
    }
    close(report[1]);
    line.clear();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (line.empty() || line.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{report[0], POLLIN, 0};
        char buffer[256];
        ssize_t got = 0;
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0 ||
            (got = read(report[0], buffer, sizeof buffer)) <= 0) {
            close(report[0]);
            throw std::runtime_error(name + " did not report where it listens in time");
        }
        line.append(buffer, static_cast<std::size_t>(got));
    }
    close(report[0]);
    line.pop_back();
    return server;
}

int runCommand(std::vector<std::string> argv, ChildProcess::Environment environment,
               std::chrono::milliseconds timeout) {
    ChildProcess command(std::move(argv), std::move(environment));
    if (!command.waitForExit(timeout)) {
        command.kill();
        return -1;
    }
    return command.exitStatus();
}

} // namespace velmora::testing
