#pragma once

#include <map>
#include <string>

namespace velmora::bench {

/// The "Vm…"/"Rss…" lines of /proc/PID/status, in kB, by name ("VmRSS", "RssAnon", ...).
std::map<std::string, long> memoryStatus(int pid);

} // namespace velmora::bench
