#pragma once

#include <optional>
#include <string>

namespace velmora {

/// Where an installed application lives and what its icon is.
///
///     if (auto location = icons.urlForApplication("com.example.notes")) {
///         cachedIcon = icons.iconForFile(*location);
///     }
class ApplicationIconProviding {
public:
    virtual ~ApplicationIconProviding() = default;

    /// The installed application with this bundle identifier; nothing when none is installed.
    [[nodiscard]] virtual std::optional<std::string>
    urlForApplication(const std::string& bundleIdentifier) const = 0;
    /// The icon of the file at `path`, as the interface toolkit loads it (an image file or an
    /// icon-theme name); nothing when the desktop has none.
    [[nodiscard]] virtual std::optional<std::string> iconForFile(const std::string& path) const = 0;
};

} // namespace velmora
