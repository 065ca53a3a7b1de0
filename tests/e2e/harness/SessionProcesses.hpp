#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::e2e {

/// The live processes named `name` (as /proc shows it) that run in the test session whose
/// home is `home`: programs that the harness did not start itself, such as Velmora's guard
/// and a Velmora that the guard started again.
///
///     for (pid_t guard : sessionProcesses("velmora-guard", home)) { kill(guard, SIGKILL); }
[[nodiscard]] std::vector<pid_t> sessionProcesses(const std::string& name, const std::string& home);

} // namespace velmora::e2e
