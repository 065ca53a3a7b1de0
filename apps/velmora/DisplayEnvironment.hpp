#pragma once

#include <optional>
#include <string>

namespace velmora {

/// Whether the session lets Velmora cover applications: it works through X11, so it needs
/// an X server; under Wayland only the applications running through XWayland can be seen.
///
///     const auto check = DisplayEnvironment::check(getenv("DISPLAY"), getenv("WAYLAND_DISPLAY"));
///     if (check.error) { fail(*check.error); }
struct DisplayEnvironment {
    /// Why Velmora cannot run here.
    std::optional<std::string> error;
    /// What the person should know although it runs.
    std::optional<std::string> warning;

    /// Either value may be null (not set).
    [[nodiscard]] static DisplayEnvironment check(const char* display, const char* waylandDisplay);
};

} // namespace velmora
