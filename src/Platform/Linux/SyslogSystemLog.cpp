#include "Platform/Linux/SyslogSystemLog.hpp"

#include <syslog.h>

namespace velmora {

SyslogSystemLog::SyslogSystemLog() {
    openlog("velmora", LOG_PID, LOG_USER);
}

void SyslogSystemLog::log(std::string_view line) {
    // The line is data, never a format.
    syslog(LOG_NOTICE, "%.*s", static_cast<int>(line.size()), line.data());
}

} // namespace velmora
