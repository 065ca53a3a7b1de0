#pragma once

#include "Support/ProcessId.hpp"

#include <optional>
#include <string>
#include <vector>

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

/// Everything by which a window is known to belong to one protected application. Standard
/// library only: the guard matches windows with it too.
///
///     ApplicationIdentities mail{"org.gnome.Evolution", {"Evolution"}, {"/usr/bin/evolution"}};
///     if (belongsTo(window, mail)) { cover(window); }
struct ApplicationIdentities {
    /// The desktop-file ID, e.g. "org.gnome.Evolution".
    std::string desktopId;
    /// `WM_CLASS` class or instance names (compared exactly).
    std::vector<std::string> windowClasses{};
    /// Real paths of its programs.
    std::vector<std::string> executables{};

    friend bool operator==(const ApplicationIdentities&, const ApplicationIdentities&) = default;
};

/// Whether any rule names `application` for `window`: `_GTK_APPLICATION_ID` or
/// `_KDE_NET_WM_DESKTOP_FILE` (a name or a path) is its desktop ID, the class or instance is
/// one of its window classes or its desktop ID ignoring case, or the executable (as a real
/// path) is one of its programs.
[[nodiscard]] bool belongsTo(const WindowIdentity& window,
                             const ApplicationIdentities& application);

/// The real path of a process's program (`/proc/PID/exe`); absent once it has ended.
[[nodiscard]] std::optional<std::string> executableOf(ProcessId pid);

/// The first of `applications` that `window` belongs to.
[[nodiscard]] const ApplicationIdentities*
owningApplication(const WindowIdentity& window,
                  const std::vector<ApplicationIdentities>& applications);

} // namespace velmora
