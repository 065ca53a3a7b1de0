#pragma once

#include <optional>
#include <string>

namespace velmora {

/// Which desktop Velmora runs on in this session: an X11 session, or the Wayland session of
/// KDE Plasma or sway, whose compositor shows and hides windows for it. On any other Wayland
/// session no program can see or cover another's windows, and it refuses to run.
///
///     const auto check = DisplayEnvironment::check(getenv("DISPLAY"),
///                                                  getenv("WAYLAND_DISPLAY"),
///                                                  getenv("XDG_CURRENT_DESKTOP"),
///                                                  getenv("SWAYSOCK"));
///     if (check.error) { fail(*check.error); }
struct DisplayEnvironment {
    enum class Desktop { x11, kdeWayland, sway };

    /// Why Velmora cannot run here.
    std::optional<std::string> error;
    /// What the person should know although it runs.
    std::optional<std::string> warning;
    Desktop desktop = Desktop::x11;

    /// Any value may be null (not set).
    [[nodiscard]] static DisplayEnvironment check(const char* display, const char* waylandDisplay,
                                                  const char* currentDesktop,
                                                  const char* swaySocket = nullptr);
    /// Why Velmora refuses a Wayland session whose desktop it cannot work with.
    [[nodiscard]] static std::string unsupportedWayland(const std::string& desktop);
};

} // namespace velmora
