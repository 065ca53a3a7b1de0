#pragma once

#include "Support/Time.hpp"

#include <string>

namespace velmora {

/// A date as the system writes one by default: UTC, to the second.
///
///     defaultDateDescription(now);   // "2025-03-04 09:15:02 +0000"
std::string defaultDateDescription(TimePoint time);

/// A moment as a person reads it in a short line, in local time: the time of day when it is
/// on the same day as `now`, else the day and month before it.
///
///     shortLocalDescription(failure, now);   // "14:02", or "4 Mar 14:02"
std::string shortLocalDescription(TimePoint time, TimePoint now);

} // namespace velmora
