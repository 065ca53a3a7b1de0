#pragma once

#include "Platform/AccessibilityTrust.hpp"
#include "Platform/Linux/XcbConnection.hpp"

#include <memory>

namespace velmora {

/// On X11 nothing has to be granted, but the engine can only follow and move applications
/// through an EWMH window manager that reports the active window and the stacking order.
///
///     EwmhAccessibilityTrust trust(connection);
///     if (!trust.isProcessTrusted()) { explainWindowManagerNeeded(); }
class EwmhAccessibilityTrust final : public AccessibilityTrust {
public:
    explicit EwmhAccessibilityTrust(std::shared_ptr<XcbConnection> connection)
        : connection_(std::move(connection)) {}

    [[nodiscard]] bool isProcessTrusted() const override;

private:
    std::shared_ptr<XcbConnection> connection_;
};

} // namespace velmora
