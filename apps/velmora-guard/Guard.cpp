#include "Guard.hpp"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {

namespace {

// A Velmora that keeps dying is started at most this often.
constexpr std::size_t kMaxStarts = 3;
constexpr auto kStartWindow = std::chrono::seconds{60};
// How long a window manager may take to iconify a window before the guard covers it.
constexpr auto kIconifyWait = std::chrono::milliseconds{250};
// How long a killed Velmora may take to be gone.
constexpr auto kDeathWait = std::chrono::seconds{1};

std::string seconds(std::chrono::steady_clock::duration duration) {
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(duration).count()) +
           " s";
}

} // namespace

Guard::Guard(Logging& log, WindowIconifier& windows, std::vector<std::string> command,
             ProcessId velmora, int channel)
    : log_(log), windows_(windows), command_(std::move(command)), velmora_(velmora),
      channel_(channel), limiter_(kMaxStarts, kStartWindow) {}

int Guard::run() {
    while (true) {
        // Velmoras started here are children: reap them as they end.
        while (::waitpid(-1, nullptr, WNOHANG) > 0) {
        }
        if (windows_.hasFailed()) {
            log_.info("The X session has ended");
            return 1;
        }
        const auto now = Clock::now();
        if (channel_ >= 0 && lastHeard_ && now - *lastHeard_ > guard::kHeartbeatTimeout) {
            velmoraHung();
            continue;
        }
        if (verifyAt_ && now >= *verifyAt_) {
            coverUnhidden();
            continue;
        }
        if (restartAt_ && now >= *restartAt_) {
            startVelmora();
            continue;
        }
        pollfd watched[2] = {{channel_, POLLIN, 0}, {windows_.fileDescriptor(), POLLIN, 0}};
        const bool readIn = windows_.hasEventsReadIn();
        if (::poll(watched, 2, readIn ? 0 : pollTimeout(now)) < 0 && errno != EINTR) {
            log_.error("Cannot wait for Velmora: " + std::to_string(errno));
            return 1;
        }
        if ((watched[1].revents != 0 || readIn) && windows_.readEvents() && guarding_) {
            if (const int again = iconify(); again > 0) {
                log_.warn("Iconified " + std::to_string(again) +
                          " windows of protected applications shown while Velmora is away");
            }
        }
        if (watched[0].revents != 0) {
            switch (readChannel()) {
            case Heard::quit:
                log_.info("Velmora quit; the guard ends too");
                return 0;
            case Heard::ended:
                velmoraEnded("Velmora (pid " + std::to_string(velmora_) +
                             ") ended without quitting");
                break;
            case Heard::nothing:
                break;
            }
        }
    }
}

int Guard::pollTimeout(Clock::time_point now) const {
    std::optional<Clock::time_point> wake = restartAt_;
    if (verifyAt_) {
        wake = wake ? std::min(*wake, *verifyAt_) : *verifyAt_;
    }
    if (channel_ >= 0 && lastHeard_) {
        const auto deadline = *lastHeard_ + guard::kHeartbeatTimeout;
        wake = wake ? std::min(*wake, deadline) : deadline;
    }
    if (!wake) {
        return -1;
    }
    // Rounded up, so that the deadline has passed when poll returns.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*wake - now).count() + 1;
    return static_cast<int>(std::clamp<long long>(left, 0, 60'000));
}

int Guard::iconify() {
    const int requested = windows_.iconify(watched_, protected_);
    if (requested > 0 && !verifyAt_) {
        verifyAt_ = Clock::now() + kIconifyWait;
    }
    return requested;
}

void Guard::coverUnhidden() {
    verifyAt_.reset();
    if (const int covered = windows_.coverUnhidden(); covered > 0) {
        log_.warn("The window manager did not iconify " + std::to_string(covered) +
                  " windows of protected applications; covered them instead");
    }
}

Guard::Heard Guard::readChannel() {
    char buffer[guard::kMaxGuardLineSize];
    const ssize_t count = ::read(channel_, buffer, sizeof buffer);
    if (count < 0 && (errno == EINTR || errno == EAGAIN)) {
        return Heard::nothing;
    }
    if (count <= 0) {
        return Heard::ended;
    }
    received_.append(buffer, static_cast<std::size_t>(count));
    bool heard = false;
    std::size_t end = 0;
    while ((end = received_.find('\n')) != std::string::npos) {
        const std::string line = received_.substr(0, end);
        received_.erase(0, end + 1);
        const auto message = guard::decodeGuardMessage(line);
        if (!message) {
            log_.warn("Ignoring a line from Velmora that is no message: " + line.substr(0, 40));
            continue;
        }
        if (message->kind == guard::GuardMessageKind::quit) {
            return Heard::quit;
        }
        handle(*message);
        heard = true;
    }
    if (heard) {
        answer();
    }
    if (received_.size() >= guard::kMaxGuardLineSize) {
        log_.warn("Dropping an overlong line from Velmora");
        received_.clear();
    }
    return Heard::nothing;
}

void Guard::answer() {
    // Never waits: a Velmora that does not read is one the heartbeat deadline deals with.
    ::send(channel_, guard::kAliveLine.data(), guard::kAliveLine.size(),
           MSG_DONTWAIT | MSG_NOSIGNAL);
}

void Guard::handle(const guard::GuardMessage& message) {
    lastHeard_ = Clock::now();
    if (message.kind == guard::GuardMessageKind::protects) {
        if (message.applications != protected_) {
            std::string names;
            for (const ApplicationIdentities& application : message.applications) {
                names += ' ' + application.desktopId;
            }
            log_.info("Protected applications:" + (names.empty() ? " none" : names));
            protected_ = message.applications;
        }
        return;
    }
    if (message.kind != guard::GuardMessageKind::watching) {
        return;
    }
    if (message.pids != watched_) {
        std::string pids;
        for (const ProcessId pid : message.pids) {
            pids += ' ' + std::to_string(pid);
        }
        log_.info("Watching protected processes:" + (pids.empty() ? " none" : pids));
        watched_ = message.pids;
    }
    if (guarding_) {
        guarding_ = false;
        verifyAt_.reset();
        windows_.uncover();
        log_.info("Velmora (pid " + std::to_string(velmora_) + ") covers again");
    }
}

void Guard::velmoraHung() {
    // Out of reach first: its covers vanish with it.
    iconify();
    ::kill(velmora_, SIGKILL);
    awaitChannelEnd();
    velmoraEnded("Velmora (pid " + std::to_string(velmora_) + ") did not answer for " +
                 seconds(guard::kHeartbeatTimeout) + " and was killed");
}

void Guard::velmoraEnded(std::string_view how) {
    closeChannel();
    guarding_ = true;
    const int iconified = iconify();
    log_.error(std::string(how) + "; iconified " + std::to_string(iconified) +
               " windows of protected applications");
    const auto now = Clock::now();
    restartAt_ = limiter_.nextStart(now);
    if (*restartAt_ > now) {
        log_.error("Velmora was started " + std::to_string(kMaxStarts) + " times within " +
                   seconds(kStartWindow) + "; starting it again in " +
                   seconds(*restartAt_ - now + std::chrono::seconds{1}));
    }
}

void Guard::startVelmora() {
    restartAt_.reset();
    limiter_.recordStart(Clock::now());
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        velmoraEnded("Cannot make a channel for Velmora: " + std::to_string(errno));
        return;
    }
    std::vector<char*> argv;
    for (std::string& word : command_) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        // The new Velmora adopts this guard through its end of the channel.
        if (pair[1] == guard::kChannelDescriptor) {
            ::fcntl(pair[1], F_SETFD, 0);
        } else {
            ::dup2(pair[1], guard::kChannelDescriptor);
        }
        ::signal(SIGPIPE, SIG_DFL);
        ::setenv(guard::kChannelVariable, std::to_string(guard::kChannelDescriptor).c_str(), 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pair[1]);
    if (child < 0) {
        ::close(pair[0]);
        velmoraEnded("Cannot start Velmora: " + std::to_string(errno));
        return;
    }
    velmora_ = child;
    channel_ = pair[0];
    log_.info("Started Velmora again (pid " + std::to_string(child) + ")");
}

void Guard::awaitChannelEnd() {
    // Its end closes as it dies; a new Velmora must not meet the old one still there.
    const auto deadline = Clock::now() + kDeathWait;
    char buffer[guard::kMaxGuardLineSize];
    for (auto now = Clock::now(); now < deadline; now = Clock::now()) {
        pollfd channel{channel_, POLLIN, 0};
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        if (::poll(&channel, 1, static_cast<int>(left)) > 0 &&
            ::read(channel_, buffer, sizeof buffer) <= 0) {
            return;
        }
    }
}

void Guard::closeChannel() {
    if (channel_ >= 0) {
        ::close(channel_);
    }
    channel_ = -1;
    lastHeard_.reset();
    received_.clear();
}

} // namespace velmora
