#pragma once

#include <string>
#include <vector>

namespace velmora {

/// The XDG base directories of the person running the program, read from the environment
/// each time, with the freedesktop base-directory defaults.
///
///     std::string settings = XdgDirectories::configHome() + "/velmora/defaults.json";
///
/// A variable that is empty or holds a relative path counts as unset.
struct XdgDirectories {
    /// `$HOME`, or the home directory in the password database.
    [[nodiscard]] static std::string home();
    /// `$XDG_CONFIG_HOME`, or `~/.config`.
    [[nodiscard]] static std::string configHome();
    /// `$XDG_DATA_HOME`, or `~/.local/share`.
    [[nodiscard]] static std::string dataHome();
    /// `$XDG_STATE_HOME`, or `~/.local/state`.
    [[nodiscard]] static std::string stateHome();
    /// `$XDG_DATA_DIRS`, or `/usr/local/share` and `/usr/share`, in order of preference.
    [[nodiscard]] static std::vector<std::string> dataDirs();
    /// `dataHome()` then `dataDirs()`, each followed by "/applications".
    [[nodiscard]] static std::vector<std::string> applicationDirs();
};

} // namespace velmora
