#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// What a window says about the application that owns it.
struct WindowIdentity {
    /// `_GTK_APPLICATION_ID`, e.g. "org.gnome.TextEditor".
    std::optional<std::string> gtkApplicationId{};
    /// `_KDE_NET_WM_DESKTOP_FILE`, e.g. "org.kde.dolphin".
    std::optional<std::string> kdeDesktopFile{};
    /// `WM_CLASS`: its instance (first) and class (second) name.
    std::optional<std::string> wmClassInstance{};
    std::optional<std::string> wmClassClass{};
    /// The target of `/proc/PID/exe` of the owning process.
    std::optional<std::string> executablePath{};

    friend bool operator==(const WindowIdentity&, const WindowIdentity&) = default;
};

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
};

} // namespace velmora
