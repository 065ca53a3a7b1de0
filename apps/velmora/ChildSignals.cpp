#include "ChildSignals.hpp"

#include "Platform/Linux/ReadableWatch.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace velmora {

namespace {

// Written by the handler, read on the main thread; one pair per process.
int signalPipe[2] = {-1, -1};
// Whoever handled SIGCHLD before (Qt, for its own children) still hears of them.
struct sigaction previousAction {};

void handle(int signal, siginfo_t* info, void* context) {
    // The interrupted code may be about to read errno, which the write can change.
    const int savedErrno = errno;
    const char change = 1;
    // Async-signal-safe; a full pipe only means a call is already on its way.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &change, 1);
    errno = savedErrno;
    if ((previousAction.sa_flags & SA_SIGINFO) != 0) {
        previousAction.sa_sigaction(signal, info, context);
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
    }
}

} // namespace

ChildSignals::ChildSignals(std::function<void()> onChange) : onChange_(std::move(onChange)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        return;
    }
    watch_ = std::make_unique<ReadableWatch>(signalPipe[1], [this] {
        char drained[64];
        while (::read(signalPipe[1], drained, sizeof drained) > 0) {
        }
        onChange_();
    });
    struct sigaction action {};
    action.sa_sigaction = &handle;
    sigemptyset(&action.sa_mask);
    // Without SA_NOCLDSTOP: a stopped child is what this is for.
    action.sa_flags = SA_RESTART | SA_SIGINFO;
    ::sigaction(SIGCHLD, &action, &previousAction);
}

ChildSignals::~ChildSignals() {
    ::sigaction(SIGCHLD, &previousAction, nullptr);
    watch_.reset();
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

} // namespace velmora
