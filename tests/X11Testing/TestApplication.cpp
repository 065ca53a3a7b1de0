#include "X11Testing/TestApplication.hpp"

#include <chrono>
#include <poll.h>
#include <stdexcept>

namespace velmora::testing {

TestApplication::TestApplication(const XvfbServer& server, std::vector<std::string> options) {
    std::vector<std::string> argv{VELMORA_TEST_CLIENT, "--ready-file", scratch_.path("ready")};
    argv.insert(argv.end(), options.begin(), options.end());
    process_ = std::make_unique<ChildProcess>(std::move(argv), server.environment());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds{5};
    std::string ready;
    while ((ready = scratch_.read("ready")).empty()) {
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("the test client's windows did not appear in time");
        }
        poll(nullptr, 0, 10);
    }
    window_ = static_cast<std::uint32_t>(std::stoul(ready, nullptr, 16));
}

} // namespace velmora::testing
