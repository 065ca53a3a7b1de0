#pragma once

#include "Platform/SystemLog.hpp"

namespace velmora {

/// The unified system log through `NSLog`.
class MacSystemLog final : public SystemLog {
public:
    void log(std::string_view line) override;
};

} // namespace velmora
