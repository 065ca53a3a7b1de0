#pragma once

#include "Platform/AccessibilityTrust.hpp"

namespace velmora {

/// The Accessibility permission through `AXIsProcessTrusted`.
class MacAccessibilityTrust final : public AccessibilityTrust {
public:
    [[nodiscard]] bool isProcessTrusted() const override;
};

} // namespace velmora
