#pragma once

#include "support/Summary.hpp"

#include <cstdio>
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace velmora::bench {

/// One frame at 60 Hz, in milliseconds.
constexpr double kOneFrame = 16.7;

/// Runs `measure` and prints the median, 95th percentile and maximum of the times it
/// answers (ms) under `title`, against a 95th percentile of one frame. Answers the program's
/// exit status: 1, with the reason, when `measure` throws.
inline int reportWithinOneFrame(const char* program, const std::string& title,
                                const std::function<std::vector<double>()>& measure) {
    std::vector<double> times;
    try {
        times = measure();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", program, error.what());
        return 1;
    }
    const Summary summary = Summary::of(times);
    std::printf("%s (ms)\n  p50 %.2f  p95 %.2f  max %.2f\n", title.c_str(), summary.p50,
                summary.p95, summary.max);
    std::printf("p95 target < %.1f ms (one frame at 60 Hz) %s\n", kOneFrame,
                summary.p95 < kOneFrame ? "met" : "MISSED");
    return 0;
}

} // namespace velmora::bench
