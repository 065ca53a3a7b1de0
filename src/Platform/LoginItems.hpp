#pragma once

#include <optional>
#include <string>

namespace velmora {

/// Whether the program starts when the user logs in.
///
///     if (auto error = loginItems.registerItem()) { systemLog.log(*error); }
///     bool on = loginItems.isEnabled();
class LoginItemService {
public:
    virtual ~LoginItemService() = default;

    /// Registered and allowed to run; pending approval or unknown counts as not enabled.
    [[nodiscard]] virtual bool isEnabled() const = 0;
    /// Nothing on success, otherwise the system's description of the failure.
    virtual std::optional<std::string> registerItem() = 0;
    virtual std::optional<std::string> unregisterItem() = 0;
};

} // namespace velmora
