#include "harness/Eventually.hpp"

#include <algorithm>
#include <poll.h>

namespace velmora::e2e {

namespace {
constexpr std::chrono::milliseconds kInterval{20};
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + timeout;
    while (!condition()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        poll(nullptr, 0, static_cast<int>(std::min(left, kInterval).count()));
    }
    return true;
}

} // namespace velmora::e2e
