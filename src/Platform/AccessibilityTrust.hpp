#pragma once

namespace velmora {

/// Whether the user lets this program control the computer through the accessibility
/// interfaces (the Accessibility permission). The answer can change while the program runs,
/// so callers ask afresh each time.
///
///     if (!trust.isProcessTrusted()) { showOnboarding(); }
class AccessibilityTrust {
public:
    virtual ~AccessibilityTrust() = default;
    [[nodiscard]] virtual bool isProcessTrusted() const = 0;
};

} // namespace velmora
