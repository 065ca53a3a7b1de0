#pragma once

#include "Platform/AlertPresenting.hpp"

namespace velmora {

/// Modal warnings as Qt message boxes, such as "Invalid Application" after "Add App".
///
///     QtAlertPresenter alerts;
///     alerts.showWarning("Invalid Application", "Could not read bundle information ...");
class QtAlertPresenter final : public AlertPresenting {
public:
    void showWarning(const std::string& message, const std::string& informativeText) override;
};

} // namespace velmora
