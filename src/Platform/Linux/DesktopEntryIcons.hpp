#pragma once

#include "Platform/ApplicationIcons.hpp"
#include "Platform/Linux/ApplicationDirectory.hpp"

#include <memory>

namespace velmora {

/// Icons of installed applications on freedesktop desktops: an application is its desktop
/// entry (the bundle identifier is the desktop-file ID), its icon the entry's `Icon=` value.
///
///     DesktopEntryIcons icons(directory);
///     auto entry = icons.urlForApplication("org.gnome.TextEditor");
///     auto icon = icons.iconForFile(*entry);   // "org.gnome.TextEditor" or "/opt/x/icon.png"
class DesktopEntryIcons final : public ApplicationIconProviding {
public:
    explicit DesktopEntryIcons(std::shared_ptr<const ApplicationDirectory> directory);

    [[nodiscard]] std::optional<std::string>
    urlForApplication(const std::string& bundleIdentifier) const override;
    /// The `Icon=` of the desktop entry at `path`; nothing for another kind of file.
    [[nodiscard]] std::optional<std::string> iconForFile(const std::string& path) const override;

private:
    std::shared_ptr<const ApplicationDirectory> directory_;
};

} // namespace velmora
