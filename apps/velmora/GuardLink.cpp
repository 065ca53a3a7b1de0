#include "GuardLink.hpp"

#include "ChildSignals.hpp"
#include "InstalledFile.hpp"
#include "Models/AppState.hpp"
#include "Platform/Linux/ReadableWatch.hpp"
#include "Platform/Platform.hpp"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
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
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
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

std::string seconds(std::chrono::steady_clock::duration duration) {
    return std::to_string(std::chrono::ceil<std::chrono::seconds>(duration).count()) + " s";
}

} // namespace

GuardLink::GuardLink() : startedByGuard_(std::getenv(guard::kChannelVariable) != nullptr) {
    channel_ = inheritedChannel();
    if (channel_ >= 0) {
        guard_ = GuardProcess::parent();
    }
}

GuardLink::~GuardLink() {
    heartbeat_.reset();
    children_.reset();
    answers_.reset();
    if (channel_ >= 0) {
        ::close(channel_);
    }
}

void GuardLink::watch(CoverageCheck isCovering, ProtectedApplications applications) {
    const auto& log = installedPlatform().logger;
    isCovering_ = std::move(isCovering);
    applications_ = std::move(applications);
    children_ = std::make_unique<ChildSignals>([this] { checkGuards(); });
    if (channel_ >= 0) {
        log->info("Watched by the guard that started this Velmora");
        answers_ = std::make_unique<ReadableWatch>(channel_, [this] { readAnswers(); });
    } else if (!startGuard()) {
        log->error("Cannot start velmora-guard (" + std::string(std::strerror(errno)) +
                   "): protected applications stay usable if Velmora stops");
    }
    heartbeat_ = std::make_unique<QTimer>();
    heartbeat_->setInterval(guard::kHeartbeatInterval);
    QObject::connect(heartbeat_.get(), &QTimer::timeout, [this] { heartbeat(); });
    // The first report comes from the running event loop: the guard's patience starts there.
    // It goes on the loop's first turn, once launching has started the engine, not a beat
    // later: until then a new guard knows nothing to hide should Velmora die, and one that
    // started this Velmora hides every protected window, even one brought forward to be covered.
    QTimer::singleShot(0, heartbeat_.get(), [this] { heartbeat(); });
    heartbeat_->start();
}

void GuardLink::quit() {
    heartbeat_.reset();
    children_.reset();
    if (answers_) {
        // The guard ends now, and that is no reason to start another.
        answers_->setEnabled(false);
    }
    send(guard::encodeGuardMessage({guard::GuardMessageKind::quit}));
}

bool GuardLink::startGuard() {
    limiter_.recordStart(Clock::now());
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
    ::fcntl(channel_, F_SETFL, ::fcntl(channel_, F_GETFL) | O_NONBLOCK);
    guard_ = GuardProcess::child(pid);
    answers_ = std::make_unique<ReadableWatch>(channel_, [this] { readAnswers(); });
    installedPlatform().logger->info("Started velmora-guard (pid " + std::to_string(pid) + ")");
    return true;
}

void GuardLink::checkGuards() {
    std::erase_if(ending_, [](GuardProcess& ended) { return ended.reap(); });
    if (guard_ && guard_->isStopped()) {
        replaceGuard("is stopped");
    }
}

void GuardLink::heartbeat() {
    checkGuards();
    // Answers that came while this loop was busy count: only the guard's silence is judged.
    if (channel_ >= 0) {
        readAnswers();
    }
    const auto now = Clock::now();
    if (channel_ < 0) {
        if (limiter_.nextStart(now) <= now) {
            replaceGuard("is gone");
        }
        return;
    }
    if (unansweredSince_ && now - *unansweredSince_ > guard::kHeartbeatTimeout) {
        replaceGuard("did not answer for " + seconds(guard::kHeartbeatTimeout));
        return;
    }
    report();
}

void GuardLink::report() {
    std::string lines;
    if (isCovering_ && isCovering_()) {
        lines = guard::encodeGuardMessage(guard::GuardMessage::watching(protectedProcesses())) +
                guard::encodeGuardMessage(guard::GuardMessage::protecting(applications_()));
    } else {
        lines = guard::encodeGuardMessage({});
    }
    if (!send(lines)) {
        replaceGuard("has ended");
    } else if (!unansweredSince_) {
        unansweredSince_ = Clock::now();
    }
}

void GuardLink::readAnswers() {
    char buffer[256];
    for (;;) {
        const ssize_t count = ::recv(channel_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (count > 0) {
            unansweredSince_.reset();
            guardAnswers_.setIfChanged(true);
            continue;
        }
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
            return;
        }
        replaceGuard("has ended");
        return;
    }
}

void GuardLink::replaceGuard(std::string_view why) {
    const auto& log = installedPlatform().logger;
    const std::string which =
        guard_ ? "velmora-guard (pid " + std::to_string(guard_->pid()) + ")" : "velmora-guard";
    guardAnswers_.setIfChanged(false);
    unansweredSince_.reset();
    closeChannel();
    if (guard_) {
        guard_->kill();
        ending_.push_back(std::move(*guard_));
        guard_.reset();
    }
    const auto now = Clock::now();
    if (const auto next = limiter_.nextStart(now); next > now) {
        log->error(which + " " + std::string(why) + "; it was started " +
                   std::to_string(maxGuardStarts) + " times within " + seconds(guardStartWindow) +
                   ", so another follows in " + seconds(next - now) +
                   ": protected applications stay usable if Velmora stops meanwhile");
        return;
    }
    log->warn(which + " " + std::string(why) + "; starting a new one");
    if (!startGuard()) {
        log->error("Cannot start velmora-guard (" + std::string(std::strerror(errno)) +
                   "): protected applications stay usable if Velmora stops");
        return;
    }
    report();
}

void GuardLink::closeChannel() {
    if (channel_ < 0) {
        return;
    }
    // The watch's own callback may be what is running: it goes on a later turn, and the
    // descriptor with it, so that no other watch on a reused number is touched.
    std::shared_ptr<ReadableWatch> watch = std::move(answers_);
    if (watch) {
        watch->setEnabled(false);
    }
    QTimer::singleShot(0, [watch, fd = channel_]() mutable {
        watch.reset();
        ::close(fd);
    });
    channel_ = -1;
}

bool GuardLink::send(const std::string& lines) {
    if (channel_ < 0) {
        return false;
    }
    const ssize_t sent = ::send(channel_, lines.data(), lines.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    // A full channel means a guard that is slow to read, not one that is gone; one that
    // stays so stops answering, and the heartbeat deals with it.
    return sent >= 0 || errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

} // namespace velmora
