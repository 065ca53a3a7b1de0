#pragma once

#include "Platform/LoginItems.hpp"

#include <cstddef>

namespace velmora {

/// The login item as the system holds it; a test can make the system refuse changes.
///
///     SimLoginItems items;
///     items.refusal = "Operation not permitted";   // register and unregister now fail
class SimLoginItems final : public LoginItemService {
public:
    [[nodiscard]] bool isEnabled() const override { return enabled; }

    std::optional<std::string> registerItem() override { return change(true); }
    std::optional<std::string> unregisterItem() override { return change(false); }

    bool enabled = false;
    /// The system's description of why it refuses; nothing while it accepts.
    std::optional<std::string> refusal;
    std::size_t registerCalls = 0;
    std::size_t unregisterCalls = 0;

private:
    std::optional<std::string> change(bool enable) {
        ++(enable ? registerCalls : unregisterCalls);
        if (!refusal) {
            enabled = enable;
        }
        return refusal;
    }
};

} // namespace velmora
