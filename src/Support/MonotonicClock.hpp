#pragma once

#include <chrono>
#include <cstdint>

namespace velmora {

/// A clock that never goes backwards, for measuring short intervals on hot paths.
class MonotonicClock {
public:
    virtual ~MonotonicClock() = default;
    /// Nanoseconds since an arbitrary fixed origin.
    [[nodiscard]] virtual std::uint64_t nanoseconds() const = 0;
};

class SystemMonotonicClock final : public MonotonicClock {
public:
    [[nodiscard]] std::uint64_t nanoseconds() const override {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                              std::chrono::steady_clock::now().time_since_epoch())
                                              .count());
    }
};

} // namespace velmora
