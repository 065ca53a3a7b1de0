#include "Platform/Linux/AuthHelperProcess.hpp"

#include "Platform/Linux/AuthHelperProtocol.hpp"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora {

namespace {

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

/// The helper starts with default signal handling, whatever this process ignores or blocks.
bool spawn(pid_t& pid, const std::string& program, const std::vector<std::string>& arguments,
           int childSocket) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, childSocket, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, childSocket, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const int error =
        posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0;
}

} // namespace

std::unique_ptr<AuthHelperProcess>
AuthHelperProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                         Handlers handlers) {
    std::array<int, 2> sockets{-1, -1};
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets.data()) != 0) {
        return nullptr;
    }
    pid_t pid = 0;
    const bool started = spawn(pid, program, arguments, sockets[1]);
    closeIfOpen(sockets[1]);
    if (!started) {
        closeIfOpen(sockets[0]);
        return nullptr;
    }
    // Through syscall(2): glibc 2.36 declares pidfd_open without C linkage for C++.
    const int pidFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    if (pidFd < 0) {
        ::kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        closeIfOpen(sockets[0]);
        return nullptr;
    }
    fcntl(sockets[0], F_SETFL, fcntl(sockets[0], F_GETFL) | O_NONBLOCK);
    return std::unique_ptr<AuthHelperProcess>(
        new AuthHelperProcess(pid, sockets[0], pidFd, std::move(handlers)));
}

AuthHelperProcess::AuthHelperProcess(pid_t pid, int socket, int pidFd, Handlers handlers)
    : pid_(pid), socket_(socket), pidFd_(pidFd), handlers_(std::move(handlers)),
      outputNotifier_(new QSocketNotifier(socket, QSocketNotifier::Read)),
      exitNotifier_(new QSocketNotifier(pidFd, QSocketNotifier::Read)) {
    QObject::connect(outputNotifier_.get(), &QSocketNotifier::activated, outputNotifier_.get(),
                     [this] { readOutput(); });
    QObject::connect(exitNotifier_.get(), &QSocketNotifier::activated, exitNotifier_.get(),
                     [this] { collect(); });
}

AuthHelperProcess::~AuthHelperProcess() {
    stop();
}

bool AuthHelperProcess::send(std::string_view bytes) {
    while (running_ && !bytes.empty()) {
        const ssize_t n = ::send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return running_;
}

void AuthHelperProcess::stop() {
    if (running_) {
        running_ = false;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    // The descriptors close now; the notifiers, which may be delivering a signal, later.
    for (const auto* notifier : {&outputNotifier_, &exitNotifier_}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
        }
    }
    outputNotifier_.reset();
    exitNotifier_.reset();
    closeIfOpen(socket_);
    closeIfOpen(pidFd_);
}

void AuthHelperProcess::readOutput() {
    const auto alive = lifetime_.watch();
    std::array<char, 4096> chunk{};
    while (running_) {
        const ssize_t n = read(socket_, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            if (n == 0 || errno != EAGAIN) {
                // End of output; the exit notifier reports the rest.
                outputNotifier_->setEnabled(false);
            }
            return;
        }
        pending_.append(chunk.data(), static_cast<std::size_t>(n));
        std::size_t start = 0;
        for (std::size_t end; running_ && (end = pending_.find('\n', start)) != std::string::npos;
             start = end + 1) {
            const std::string line = pending_.substr(start, end - start);
            handlers_.onLine(line);
            if (alive.ended()) {
                return;
            }
        }
        pending_.erase(0, start);
        if (running_ && pending_.size() >= authhelper::kMaxLineSize) {
            handlers_.onUnreadableOutput();
            return;
        }
    }
}

void AuthHelperProcess::collect() {
    const auto alive = lifetime_.watch();
    // Everything the helper wrote before it ended comes first.
    readOutput();
    if (alive.ended() || !running_) {
        return;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) {
        return;
    }
    running_ = false;
    outputNotifier_->setEnabled(false);
    exitNotifier_->setEnabled(false);
    handlers_.onExit(status);
}

} // namespace velmora
