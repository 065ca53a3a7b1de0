#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// Reads PAM service files, as Linux-PAM does, to tell what a service will ask of the person.
///
///     if (auto file = serviceFile("/etc/pam.d", "velmora")) {
///         bool reader = std::ranges::count(authModules(*file), "pam_fprintd.so") > 0;
///     }
///
/// The file PAM uses for `service` in `directory`: its own, else "other"; nothing when
/// neither exists.
[[nodiscard]] std::optional<std::filesystem::path>
serviceFile(const std::filesystem::path& directory, std::string_view service);

/// The file names of the modules in the auth stack of `file` ("pam_unix.so", ...), following
/// "@include", "include" and "substack" lines into the files beside it. Unreadable files and
/// include loops add nothing.
[[nodiscard]] std::vector<std::string> authModules(const std::filesystem::path& file);

} // namespace velmora
