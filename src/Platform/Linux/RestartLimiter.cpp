#include "Platform/Linux/RestartLimiter.hpp"

#include <algorithm>

namespace velmora {

RestartLimiter::RestartLimiter(std::size_t maxStarts, Clock::duration window)
    : maxStarts_(std::max<std::size_t>(maxStarts, 1)), window_(window) {}

RestartLimiter::Clock::time_point RestartLimiter::nextStart(Clock::time_point now) const {
    if (starts_.size() < maxStarts_) {
        return now;
    }
    return std::max(now, starts_.front() + window_);
}

void RestartLimiter::recordStart(Clock::time_point at) {
    starts_.push_back(at);
    while (starts_.size() > maxStarts_) {
        starts_.pop_front();
    }
}

} // namespace velmora
