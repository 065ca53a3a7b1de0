#pragma once

#include "Platform/BundleReading.hpp"
#include "Platform/Linux/DesktopEntry.hpp"

#include <string>
#include <vector>

namespace velmora {

/// Reads a desktop entry file as an application bundle, so the protected list can name the
/// application the person picked.
///
///     DesktopEntryBundleReader reader(XdgDirectories::applicationDirs(),
///                                     DesktopLocale::fromEnvironment());
///     reader.readBundle("/usr/share/applications/org.gnome.TextEditor.desktop");
///     // bundleIdentifier "org.gnome.TextEditor", infoStrings {"CFBundleName": "Text Editor"}
///
/// The identifier is the desktop-file ID when the file lies under one of the applications
/// directories (what windows are matched against), else the file name without ".desktop".
/// "CFBundleName" is the localised `Name`, left out when the entry has none. Anything that is
/// not a `.desktop` file of an application, or is hidden, is no bundle.
class DesktopEntryBundleReader final : public BundleReading {
public:
    DesktopEntryBundleReader(std::vector<std::string> applicationDirs, DesktopLocale locale);

    [[nodiscard]] std::optional<ApplicationBundle>
    readBundle(const std::string& location) const override;

private:
    [[nodiscard]] std::string bundleIdentifier(const std::string& location) const;

    std::vector<std::string> applicationDirs_;
    DesktopLocale locale_;
};

} // namespace velmora
