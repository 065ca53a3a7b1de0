#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// The user's settings store: small values by key that survive restarts.
///
///     if (auto blob = defaults.data("protectedApps")) { decode(*blob); }
///     defaults.setBool("launchAtLogin", true);
///
/// A key holds one kind of value; reading it as another kind answers nothing. The setters
/// answer false when the value could not be stored, and then the previous value is kept.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    /// Bytes, or text as its UTF-8 bytes.
    [[nodiscard]] virtual std::optional<std::string> data(std::string_view key) const = 0;
    virtual bool setData(std::string_view key, std::string bytes) = 0;

    [[nodiscard]] virtual std::optional<bool> boolean(std::string_view key) const = 0;
    virtual bool setBool(std::string_view key, bool value) = 0;

    virtual void remove(std::string_view key) = 0;
};

} // namespace velmora
