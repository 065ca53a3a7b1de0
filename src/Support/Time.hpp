#pragma once

#include <chrono>

namespace velmora {

using TimePoint = std::chrono::system_clock::time_point;
using Seconds = std::chrono::duration<double>;

/// Converts seconds held as a double to the clock's own duration, for `TimePoint` arithmetic.
inline TimePoint::duration toClockDuration(Seconds seconds) {
    return std::chrono::duration_cast<TimePoint::duration>(seconds);
}

} // namespace velmora
