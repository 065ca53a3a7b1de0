#include "GuardLink.hpp"

#include "InstalledFile.hpp"
#include "Models/AppState.hpp"
#include "Platform/Platform.hpp"

#include <QCoreApplication>
#include <QTimer>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace velmora {

namespace {

std::filesystem::path guardProgram() {
    return installedOr(VELMORA_INSTALLED_GUARD, VELMORA_GUARD_BUILD_PATH);
}

// The channel a guard handed to this Velmora when it started it, if any.
int inheritedChannel() {
    const char* value = std::getenv(guard::kChannelVariable);
    if (!value) {
        return -1;
    }
    const std::string_view text(value);
    ::unsetenv(guard::kChannelVariable);
    int fd = -1;
    struct stat status {};
    if (std::from_chars(text.data(), text.data() + text.size(), fd).ec != std::errc{} || fd < 0 ||
        ::fstat(fd, &status) != 0 || !S_ISSOCK(status.st_mode)) {
        return -1;
    }
    // Nothing Velmora starts may hold it open: its end is how the guard sees Velmora die.
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    return fd;
}

std::vector<ProcessId> protectedProcesses() {
    const auto state = AppState::shared();
    std::vector<ProcessId> pids;
    for (const RunningApplication& app : installedPlatform().workspace->runningApplications()) {
        if (app.bundleIdentifier && state->isProtected(*app.bundleIdentifier)) {
            pids.push_back(app.processIdentifier);
        }
    }
    return pids;
}

} // namespace

GuardLink::GuardLink() : channel_(inheritedChannel()) {}

GuardLink::~GuardLink() {
    heartbeat_.reset();
    if (channel_ >= 0) {
        ::close(channel_);
    }
}

void GuardLink::watch(CoverageCheck isCovering) {
    const auto& log = installedPlatform().logger;
    if (channel_ >= 0) {
        log->info("Watched by the guard that started this Velmora");
    } else if (!startGuard()) {
        log->error("Cannot start velmora-guard (" + std::string(std::strerror(errno)) +
                   "): protected applications stay usable if Velmora stops");
        return;
    }
    isCovering_ = std::move(isCovering);
    heartbeat_ = std::make_unique<QTimer>();
    heartbeat_->setInterval(guard::kHeartbeatInterval);
    QObject::connect(heartbeat_.get(), &QTimer::timeout, [this] { report(); });
    // The first report comes from the running event loop: the guard's patience starts there.
    heartbeat_->start();
}

void GuardLink::quit() {
    heartbeat_.reset();
    send({guard::GuardMessageKind::quit});
}

bool GuardLink::startGuard() {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        return false;
    }
    // Moved off the descriptor the guard expects, which dup2 onto itself would leave closing.
    if (pair[1] == guard::kChannelDescriptor) {
        const int moved = ::fcntl(pair[1], F_DUPFD_CLOEXEC, guard::kChannelDescriptor + 1);
        ::close(pair[1]);
        pair[1] = moved;
    }
    const std::string program = guardProgram().string();
    // The guard starts Velmora again just as it was started.
    std::vector<std::string> words{program, std::to_string(::getpid()),
                                   QCoreApplication::applicationFilePath().toStdString()};
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        words.push_back(argument.toStdString());
    }
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pair[1], guard::kChannelDescriptor);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    pid_t pid = 0;
    const int error = pair[1] < 0 ? errno
                                  : ::posix_spawn(&pid, program.c_str(), &actions, &attributes,
                                                  argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pair[1]);
    if (error != 0) {
        ::close(pair[0]);
        errno = error;
        return false;
    }
    channel_ = pair[0];
    installedPlatform().logger->info("Started velmora-guard (pid " + std::to_string(pid) + ")");
    return true;
}

void GuardLink::report() {
    if (!send(isCovering_() ? guard::GuardMessage::watching(protectedProcesses())
                            : guard::GuardMessage{})) {
        installedPlatform().logger->error(
            "velmora-guard has ended: protected applications stay usable if Velmora stops");
        heartbeat_->stop();
    }
}

bool GuardLink::send(const guard::GuardMessage& message) {
    if (channel_ < 0) {
        return false;
    }
    const std::string line = guard::encodeGuardMessage(message);
    const ssize_t sent = ::send(channel_, line.data(), line.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    // A full channel means a guard that is slow to read, not one that is gone.
    if (sent < 0 && errno != EAGAIN && errno != EINTR) {
        ::close(channel_);
        channel_ = -1;
        return false;
    }
    return true;
}

} // namespace velmora
