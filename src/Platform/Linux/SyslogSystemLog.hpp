#pragma once

#include "Platform/SystemLog.hpp"

namespace velmora {

/// The system log on Linux: syslog(3), which the journal collects, under "velmora".
class SyslogSystemLog final : public SystemLog {
public:
    SyslogSystemLog();
    void log(std::string_view line) override;
};

} // namespace velmora
