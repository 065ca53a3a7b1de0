#include "harness/SessionBus.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace velmora::e2e {
namespace {

constexpr int kStartTimeoutMs = 5000;

} // namespace

SessionBus::SessionBus(const std::filesystem::path& directory) {
    int pipe[2];
    if (pipe2(pipe, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed: " + std::string(std::strerror(errno)));
    }
    try {
        daemon_ = std::make_unique<testing::ChildProcess>(
            std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nosyslog",
                                     "--address=unix:path=" + (directory / "bus").string(),
                                     "--print-address=" + std::to_string(pipe[1])},
            testing::ChildProcess::Environment{}, pipe[1]);
    } catch (...) {
        close(pipe[0]);
        close(pipe[1]);
        throw;
    }
    close(pipe[1]);
    // The daemon prints its address once it listens; a line break ends it.
    std::string printed;
    while (printed.empty() || printed.back() != '\n') {
        pollfd readable{pipe[0], POLLIN, 0};
        char buffer[256];
        ssize_t got = 0;
        if (poll(&readable, 1, kStartTimeoutMs) <= 0 ||
            (got = read(pipe[0], buffer, sizeof buffer)) <= 0) {
            close(pipe[0]);
            throw std::runtime_error("dbus-daemon did not report its address in time");
        }
        printed.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipe[0]);
    printed.pop_back();
    address_ = printed;
}

bool SessionBus::announceScreenSaverActive(bool active) const {
    return runCommand({"dbus-send", "--session", "--type=signal", "/org/freedesktop/ScreenSaver",
                       "org.freedesktop.ScreenSaver.ActiveChanged",
                       active ? "boolean:true" : "boolean:false"},
                      {{"DBUS_SESSION_BUS_ADDRESS", address_}});
}

} // namespace velmora::e2e
