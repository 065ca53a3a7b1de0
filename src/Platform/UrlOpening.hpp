#pragma once

#include <string>

namespace velmora {

/// Hands a URL to the application that handles it, such as a pane of the system settings.
///
///     urls.open("x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility");
class UrlOpening {
public:
    virtual ~UrlOpening() = default;
    /// False when the text is not a URL or nothing could open it.
    virtual bool open(const std::string& url) = 0;
};

} // namespace velmora
