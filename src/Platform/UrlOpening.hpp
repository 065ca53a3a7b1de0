#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The sections of the system settings the program sends its owner to, named by what they are
/// for. Each platform's opener takes them to its own place for them.
namespace settings_links {
inline constexpr std::string_view accessibility = "settings:accessibility";
inline constexpr std::string_view inputMonitoring = "settings:input-monitoring";
} // namespace settings_links

/// Hands a URL to the application that handles it, or a `settings_links` section to the
/// platform's place for it.
///
///     urls.open(std::string(settings_links::accessibility));
class UrlOpening {
public:
    virtual ~UrlOpening() = default;
    /// False when the text is not a URL or nothing could open it.
    virtual bool open(const std::string& url) = 0;
};

} // namespace velmora
