#pragma once

#include <chrono>
#include <filesystem>
#include <string>

namespace velmora {

/// Where PAM authentication finds its pieces, and how long it waits for them.
///
///     PamAuthenticationSettings settings{.helperPath =
///     "/usr/libexec/velmora/velmora-auth-helper"};
struct PamAuthenticationSettings {
    /// `velmora-auth-helper`, installed in libexec/velmora/ beside the program's bin/.
    std::filesystem::path helperPath;
    /// The PAM service the helper authenticates with; "other" stands in when it has no file.
    std::string serviceName = "velmora";
    std::filesystem::path serviceDirectory = "/etc/pam.d";
    /// Present when fprintd is installed: the D-Bus service that pam_fprintd talks to.
    std::filesystem::path fprintdService =
        "/usr/share/dbus-1/system-services/net.reactivated.Fprint.service";
    /// How long the helper may stay silent while PAM works. Longer than pam_fprintd waits
    /// for a finger (30 s) and than any failure delay, short enough that a hung module does
    /// not leave the prompt busy for good.
    std::chrono::milliseconds helperTimeout{45'000};
};

} // namespace velmora
