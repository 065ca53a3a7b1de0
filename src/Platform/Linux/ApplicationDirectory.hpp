#pragma once

#include "Platform/Linux/ApplicationIdentities.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// An installed application: a desktop entry.
struct DesktopApplication {
    /// The desktop-file ID without ".desktop", e.g. "org.gnome.TextEditor".
    std::string desktopId;
    /// Path of the `.desktop` file.
    std::string path;
    /// `Name`, localised; absent when the entry has none.
    std::optional<std::string> name{};
    /// `Icon`: a theme icon name or an absolute path.
    std::optional<std::string> icon{};

    friend bool operator==(const DesktopApplication&, const DesktopApplication&) = default;
};

/// The applications installed for the user, as desktop entries in the XDG data directories.
///
///     if (auto app = directory.applicationForWindow(identity)) { use(app->desktopId); }
class ApplicationDirectory {
public:
    virtual ~ApplicationDirectory() = default;

    /// The entry a window belongs to: `_GTK_APPLICATION_ID`, then `_KDE_NET_WM_DESKTOP_FILE`,
    /// then `WM_CLASS` against `StartupWMClass`, then a desktop ID equal to the class or the
    /// instance (ignoring case), then the executable against `TryExec`/`Exec`.
    [[nodiscard]] virtual std::optional<DesktopApplication>
    applicationForWindow(const WindowIdentity& identity) const = 0;
    /// The entry with this desktop ID.
    [[nodiscard]] virtual std::optional<DesktopApplication>
    application(std::string_view desktopId) const = 0;
    /// What names a window of the application with this desktop ID today: the
    /// `StartupWMClass` of every entry with that ID (one shadowed or hidden by another
    /// included), the last part of the ID where it names this application alone, and the
    /// programs that no other entry runs.
    [[nodiscard]] virtual ApplicationIdentities identities(std::string_view desktopId) const = 0;
};

} // namespace velmora
