#pragma once

#include "Platform/BundleReading.hpp"

#include <map>

namespace velmora {

/// Application bundles on an imaginary disk, by path.
///
///     SimBundleReader bundles;
///     bundles.addBundle("/Applications/Notes.app",
///                       {.bundleIdentifier = "com.example.notes",
///                        .infoStrings = {{"CFBundleName", "Notes"}}});
class SimBundleReader final : public BundleReading {
public:
    [[nodiscard]] std::optional<ApplicationBundle>
    readBundle(const std::string& location) const override;

    void addBundle(std::string location, ApplicationBundle bundle);

private:
    std::map<std::string, ApplicationBundle> bundles_;
};

} // namespace velmora
