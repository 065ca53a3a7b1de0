#pragma once

#include "Support/Time.hpp"

#include <string>

namespace velmora {

/// A date as the system writes one by default: UTC, to the second.
///
///     defaultDateDescription(now);   // "2025-03-04 09:15:02 +0000"
std::string defaultDateDescription(TimePoint time);

} // namespace velmora
