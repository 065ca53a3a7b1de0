#pragma once

#include <sys/types.h>

namespace velmora {

/// A process identifier as the desktop reports it.
using ProcessId = pid_t;

} // namespace velmora
