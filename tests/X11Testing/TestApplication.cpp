#include "X11Testing/TestApplication.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace velmora::testing {

TestApplication::TestApplication(const XvfbServer& server, std::vector<std::string> options,
                                 std::chrono::milliseconds timeout) {
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe2 failed: " + std::string(std::strerror(errno)));
    }
    std::vector<std::string> argv{VELMORA_X11_TEST_CLIENT, "--ready-fd", std::to_string(ready[1])};
    argv.insert(argv.end(), options.begin(), options.end());
    try {
        process_ = std::make_unique<ChildProcess>(std::move(argv), server.environment(), ready[1]);
    } catch (...) {
        close(ready[0]);
        close(ready[1]);
        throw;
    }
    close(ready[1]);

    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (line.empty() || line.back() != '\n') {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{ready[0], POLLIN, 0};
        char buffer[32];
        ssize_t got = 0;
        if (left.count() <= 0 || poll(&readable, 1, static_cast<int>(left.count())) <= 0 ||
            (got = read(ready[0], buffer, sizeof buffer)) <= 0) {
            close(ready[0]);
            throw std::runtime_error("the test client's window did not appear in time");
        }
        line.append(buffer, static_cast<std::size_t>(got));
    }
    close(ready[0]);
    window_ = static_cast<std::uint32_t>(std::stoul(line, nullptr, 16));
}

} // namespace velmora::testing
