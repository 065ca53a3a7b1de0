#pragma once

#include <map>
#include <optional>
#include <string>

namespace velmora {

/// What an application bundle says about itself.
struct ApplicationBundle {
    std::optional<std::string> bundleIdentifier{};
    /// The information dictionary's text values ("CFBundleDisplayName", "CFBundleName", ...);
    /// values of other kinds are left out.
    std::map<std::string, std::string> infoStrings{};

    friend bool operator==(const ApplicationBundle&, const ApplicationBundle&) = default;
};

/// Opens application bundles on disk.
///
///     if (auto bundle = reader.readBundle("/Applications/Notes.app")) { ... }
class BundleReading {
public:
    virtual ~BundleReading() = default;

    /// Nothing when the location is not a bundle.
    [[nodiscard]] virtual std::optional<ApplicationBundle>
    readBundle(const std::string& location) const = 0;
};

} // namespace velmora
