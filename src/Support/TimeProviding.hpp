#pragma once

#include "Support/Time.hpp"

namespace velmora {

/// The source of "now" for every decision that depends on wall-clock time.
class TimeProviding {
public:
    virtual ~TimeProviding() = default;
    [[nodiscard]] virtual TimePoint now() const = 0;
};

/// Wall-clock time from the system clock.
class SystemTimeProvider final : public TimeProviding {
public:
    [[nodiscard]] TimePoint now() const override { return std::chrono::system_clock::now(); }
};

} // namespace velmora
