#pragma once

#include "Platform/BundleReading.hpp"
#include "Support/Time.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// One application on the protected list, with its own locking settings.
///
///     ProtectedApp app = ProtectedApp::make("com.example.notes", "Notes", clock.now());
///     app.idleTimeoutMinutes = 10;
struct ProtectedApp {
    /// A UUID in canonical upper-case form; the entry's identity.
    std::string id{};
    std::string bundleIdentifier{};
    std::string displayName{};
    TimePoint addedDate{};
    bool autoLockEnabled = true;
    std::int64_t idleTimeoutMinutes = 5;
    /// Further names its windows carry where the bundle identifier alone does not say whose
    /// they are (X11 window classes), and the programs it runs as. Learned when the entry is
    /// made and whenever the installed application shows more; never forgotten, so that
    /// nothing installed later can take a window out of protection. Empty on macOS.
    std::vector<std::string> windowClasses{};
    std::vector<std::string> executables{};

    /// A new entry with a fresh id and the default settings; bytes of `displayName` that are
    /// not UTF-8 are replaced.
    static ProtectedApp make(std::string bundleIdentifier, std::string displayName,
                             TimePoint addedDate);

    friend bool operator==(const ProtectedApp&, const ProtectedApp&) = default;
};

/// A new entry for the application bundle at `location`; nothing when the location is not
/// a bundle or the bundle has no identifier. The display name is the bundle's
/// "CFBundleDisplayName", else its "CFBundleName", else the location's file name without
/// its extension.
std::optional<ProtectedApp> makeProtectedApp(const std::string& location,
                                             const BundleReading& bundleReader, TimePoint now);

} // namespace velmora
