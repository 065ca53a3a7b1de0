#pragma once

#include "Platform/AlertPresenting.hpp"

#include <vector>

namespace velmora {

/// Alerts that the simulated user dismisses at once; each one is kept for tests to read.
class SimAlertPresenter final : public AlertPresenting {
public:
    struct Alert {
        std::string message;
        std::string informativeText;

        friend bool operator==(const Alert&, const Alert&) = default;
    };

    void showWarning(const std::string& message, const std::string& informativeText) override {
        shown_.push_back({message, informativeText});
    }

    [[nodiscard]] const std::vector<Alert>& shown() const { return shown_; }

private:
    std::vector<Alert> shown_;
};

} // namespace velmora
