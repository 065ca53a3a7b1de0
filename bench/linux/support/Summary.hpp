#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace velmora::bench {

/// The median, 95th percentile and maximum of some samples (nearest rank).
struct Summary {
    double p50 = 0;
    double p95 = 0;
    double max = 0;

    static Summary of(std::vector<double> samples) {
        if (samples.empty()) {
            return {};
        }
        std::sort(samples.begin(), samples.end());
        const auto rank = [&](double fraction) {
            const auto index =
                static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
            return samples[std::clamp<std::size_t>(index, 1, samples.size()) - 1];
        };
        return {rank(0.50), rank(0.95), samples.back()};
    }
};

} // namespace velmora::bench
