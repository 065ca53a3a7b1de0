#pragma once

#include <optional>
#include <string>

namespace velmora {

/// Where a bundle's icon lies: its information dictionary's `CFBundleIconFile` is a file name
/// in the bundle's resources folder, often given without the ".icns" extension.
///
///     auto icon = bundleIconFile("/Applications/Notes.app/Contents/Resources", "AppIcon");
///     // "/Applications/Notes.app/Contents/Resources/AppIcon.icns"
///
/// Nothing when the bundle names no icon, or names one outside its resources folder.
std::optional<std::string> bundleIconFile(const std::string& resourcesFolder,
                                          const std::optional<std::string>& iconFile);

} // namespace velmora
