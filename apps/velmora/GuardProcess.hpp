#pragma once

#include <optional>
#include <sys/types.h>

namespace velmora {

/// The guard as a process, held by a pidfd so that its number can never name another
/// process: whether it is stopped, and ending it.
///
///     auto guard = GuardProcess::parent();          // the guard that started this Velmora
///     if (guard && guard->isStopped()) { guard->kill(); }
class GuardProcess {
public:
    /// The parent process, when it is a velmora-guard.
    static std::optional<GuardProcess> parent();
    /// A guard this Velmora started.
    static std::optional<GuardProcess> child(pid_t pid);

    GuardProcess(GuardProcess&& other) noexcept;
    GuardProcess& operator=(GuardProcess&& other) noexcept;
    GuardProcess(const GuardProcess&) = delete;
    GuardProcess& operator=(const GuardProcess&) = delete;
    ~GuardProcess();

    [[nodiscard]] pid_t pid() const { return pid_; }
    /// Stopped by a signal (SIGSTOP, SIGTSTP) or by a tracer.
    [[nodiscard]] bool isStopped() const;
    /// SIGKILL, which a stopped process obeys too.
    void kill() const;
    /// Collects a child that has ended; true once it has (always for a parent, which is
    /// not this process's to collect).
    bool reap();

private:
    GuardProcess(pid_t pid, int pidfd, bool isChild);

    pid_t pid_ = -1;
    int pidfd_ = -1;
    bool isChild_ = false;
};

} // namespace velmora
