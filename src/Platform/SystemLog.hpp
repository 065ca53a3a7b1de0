#pragma once

#include <string_view>

namespace velmora {

/// The operating system's log, for the few lines that belong there rather than in the
/// program's own log file.
///
///     systemLog.log("[Velmora] Starting permission polling (every 1s)");
class SystemLog {
public:
    virtual ~SystemLog() = default;
    virtual void log(std::string_view line) = 0;
};

} // namespace velmora
