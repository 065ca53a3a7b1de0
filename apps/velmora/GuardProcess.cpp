#include "GuardProcess.hpp"

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace velmora {

namespace {

constexpr const char* kGuardName = "velmora-guard";

int openPidfd(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

/// The state letter of /proc/PID/stat, after the name in parentheses (which may hold any
/// character).
char stateOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() ? line[close + 2] : '?';
}

} // namespace

std::optional<GuardProcess> GuardProcess::parent() {
    const pid_t pid = ::getppid();
    const int pidfd = openPidfd(pid);
    if (pidfd < 0) {
        return std::nullopt;
    }
    // Checked after the pidfd is open, so that the name belongs to the process it holds.
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    if (name != kGuardName) {
        ::close(pidfd);
        return std::nullopt;
    }
    return GuardProcess(pid, pidfd, false);
}

std::optional<GuardProcess> GuardProcess::child(pid_t pid) {
    const int pidfd = openPidfd(pid);
    if (pidfd < 0) {
        return std::nullopt;
    }
    return GuardProcess(pid, pidfd, true);
}

GuardProcess::GuardProcess(pid_t pid, int pidfd, bool isChild)
    : pid_(pid), pidfd_(pidfd), isChild_(isChild) {}

GuardProcess::GuardProcess(GuardProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)), pidfd_(std::exchange(other.pidfd_, -1)),
      isChild_(other.isChild_) {}

GuardProcess& GuardProcess::operator=(GuardProcess&& other) noexcept {
    if (this != &other) {
        if (pidfd_ >= 0) {
            ::close(pidfd_);
        }
        pid_ = std::exchange(other.pid_, -1);
        pidfd_ = std::exchange(other.pidfd_, -1);
        isChild_ = other.isChild_;
    }
    return *this;
}

GuardProcess::~GuardProcess() {
    if (pidfd_ >= 0) {
        ::close(pidfd_);
    }
}

bool GuardProcess::isStopped() const {
    // Only while the pidfd says the process lives does its number still name it.
    if (pidfd_ < 0 || ::syscall(SYS_pidfd_send_signal, pidfd_, 0, nullptr, 0) != 0) {
        return false;
    }
    const char state = stateOf(pid_);
    return state == 'T' || state == 't';
}

void GuardProcess::kill() const {
    if (pidfd_ >= 0) {
        ::syscall(SYS_pidfd_send_signal, pidfd_, SIGKILL, nullptr, 0);
    }
}

bool GuardProcess::reap() {
    if (!isChild_ || pid_ < 0) {
        return true;
    }
    const pid_t reaped = ::waitpid(pid_, nullptr, WNOHANG);
    return reaped == pid_ || (reaped < 0 && errno == ECHILD);
}

} // namespace velmora
