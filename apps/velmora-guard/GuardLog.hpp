#pragma once

#include "Support/Logging.hpp"

namespace velmora {

/// The guard's log: standard error (Velmora's, inherited) and the system log. The guard has
/// no log file of its own, so that it stays small and outlives any of Velmora's.
class GuardLog final : public Logging {
public:
    GuardLog();
    void log(std::string_view message, LogLevel level, std::string_view file,
             std::string_view function, int line) override;
};

} // namespace velmora
