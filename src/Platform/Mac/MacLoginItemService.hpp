#pragma once

#include "Platform/LoginItems.hpp"

namespace velmora {

/// The program itself as a login item, through `SMAppService.mainApp`.
class MacLoginItemService final : public LoginItemService {
public:
    [[nodiscard]] bool isEnabled() const override;
    std::optional<std::string> registerItem() override;
    std::optional<std::string> unregisterItem() override;
};

} // namespace velmora
