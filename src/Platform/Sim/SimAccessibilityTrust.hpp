#pragma once

#include "Platform/AccessibilityTrust.hpp"

namespace velmora {

/// The simulated Accessibility permission, granted or withdrawn by the test.
///
///     SimAccessibilityTrust trust;   // not trusted, as on a first start
///     trust.setTrusted(true);        // the user ticked the box in the system settings
class SimAccessibilityTrust final : public AccessibilityTrust {
public:
    explicit SimAccessibilityTrust(bool trusted = false) : trusted_(trusted) {}

    [[nodiscard]] bool isProcessTrusted() const override { return trusted_; }
    void setTrusted(bool trusted) { trusted_ = trusted; }

private:
    bool trusted_;
};

} // namespace velmora
