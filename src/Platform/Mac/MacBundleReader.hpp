#pragma once

#include "Platform/BundleReading.hpp"

namespace velmora {

/// Application bundles through `NSBundle bundleWithURL:`.
class MacBundleReader final : public BundleReading {
public:
    [[nodiscard]] std::optional<ApplicationBundle>
    readBundle(const std::string& location) const override;
};

} // namespace velmora
