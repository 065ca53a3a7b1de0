#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::e2e {

/// Makes this test process the reaper of every process it starts, directly or not: a
/// guard whose Velmora died, and the Velmoras it starts, stay its descendants.
void adoptOrphans();

/// The live processes named `name` (as /proc shows it) below this test process: programs
/// that the harness did not start itself, such as Velmora's guard and a Velmora that the
/// guard started again. Needs `adoptOrphans()` first. Read from what /proc shows of every
/// process, since Velmora and its guard hide the rest.
[[nodiscard]] std::vector<pid_t> sessionProcesses(const std::string& name);

/// The display of the Xwayland that a compositor of this test started, from its command
/// line; empty while there is none.
[[nodiscard]] std::string xwaylandDisplay();

} // namespace velmora::e2e
