#pragma once

#include <string>

namespace velmora {

/// Modal alerts with a single button.
///
///     alerts.showWarning("Invalid Application", "Could not read bundle information ...");
class AlertPresenting {
public:
    virtual ~AlertPresenting() = default;
    /// A warning with an "OK" button; returns once the user dismissed it.
    virtual void showWarning(const std::string& message, const std::string& informativeText) = 0;
};

} // namespace velmora
