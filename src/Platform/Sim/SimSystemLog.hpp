#pragma once

#include "Platform/SystemLog.hpp"

#include <string>
#include <vector>

namespace velmora {

/// The system log, kept in memory for tests to read back.
class SimSystemLog final : public SystemLog {
public:
    void log(std::string_view line) override { lines_.emplace_back(line); }

    [[nodiscard]] const std::vector<std::string>& lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

} // namespace velmora
