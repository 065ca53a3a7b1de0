#include "harness/Command.hpp"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::e2e {

bool runCommand(const std::vector<std::string>& argv, const Environment& environment,
                std::chrono::milliseconds timeout) {
    if (argv.empty()) {
        throw std::invalid_argument("runCommand needs a program");
    }
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);

    const pid_t pid = fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed: " + std::string(std::strerror(errno)));
    }
    if (pid == 0) {
        for (const auto& [key, value] : environment) {
            setenv(key.c_str(), value.c_str(), 1);
        }
        execvp(args[0], args.data());
        _exit(127);
    }

    // A pidfd becomes readable when the process exits.
    const int exited = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    bool finished = true;
    if (exited >= 0) {
        pollfd readable{exited, POLLIN, 0};
        finished = poll(&readable, 1, static_cast<int>(timeout.count())) > 0;
        close(exited);
    }
    if (!finished) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return finished && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace velmora::e2e
