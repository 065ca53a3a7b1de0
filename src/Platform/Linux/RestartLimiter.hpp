#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

namespace velmora {

/// Keeps a program that dies right after each start from being started in a tight loop: at
/// most `maxStarts` starts within any `window`; a further start waits until the oldest of
/// them has left the window.
///
///     RestartLimiter limiter(3, std::chrono::seconds{60});
///     const auto at = limiter.nextStart(now);   // now, or later after three quick starts
///     ...
///     limiter.recordStart(at);
class RestartLimiter {
public:
    using Clock = std::chrono::steady_clock;

    RestartLimiter(std::size_t maxStarts, Clock::duration window);

    /// The earliest moment from `now` on at which another start is allowed.
    [[nodiscard]] Clock::time_point nextStart(Clock::time_point now) const;
    void recordStart(Clock::time_point at);

private:
    std::size_t maxStarts_;
    Clock::duration window_;
    std::deque<Clock::time_point> starts_;
};

} // namespace velmora
