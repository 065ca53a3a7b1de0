#pragma once

#include "Platform/AlertPresenting.hpp"

namespace velmora {

/// Modal `NSAlert`s. Main thread only.
class MacAlertPresenter final : public AlertPresenting {
public:
    void showWarning(const std::string& message, const std::string& informativeText) override;
};

} // namespace velmora
