#include "GuardLog.hpp"

#include <cstdio>
#include <syslog.h>

namespace velmora {

GuardLog::GuardLog() {
    openlog("velmora-guard", LOG_PID, LOG_USER);
}

void GuardLog::log(std::string_view message, LogLevel level, std::string_view, std::string_view,
                   int) {
    const std::string_view word = logLevelWord(level);
    std::fprintf(stderr, "velmora-guard: [%.*s] %.*s\n", static_cast<int>(word.size()), word.data(),
                 static_cast<int>(message.size()), message.data());
    std::fflush(stderr);
    // The message is data, never a format.
    syslog(level >= LogLevel::error ? LOG_ERR : LOG_NOTICE, "%.*s",
           static_cast<int>(message.size()), message.data());
}

} // namespace velmora
