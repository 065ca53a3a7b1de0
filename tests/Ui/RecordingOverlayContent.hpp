#pragma once

#include "Platform/OverlayWindows.hpp"

#include <string>

namespace velmora::testing {

/// Overlay content that counts what was clicked.
struct RecordingOverlayContent final : OverlayContent {
    std::string name = "Notes";
    std::string title = "Unlock with Touch ID";
    std::string symbol = "touchid";
    bool minimizable = true;
    int unlocks = 0;
    int minimizes = 0;
    int backgroundTaps = 0;

    [[nodiscard]] const std::string& appName() const override { return name; }
    [[nodiscard]] std::string unlockTitle() const override { return title; }
    [[nodiscard]] std::string unlockSymbol() const override { return symbol; }
    [[nodiscard]] bool hasMinimizeButton() const override { return minimizable; }
    void unlockTapped() override { ++unlocks; }
    void minimizeTapped() override { ++minimizes; }
    void backgroundTapped() override { ++backgroundTaps; }
};

} // namespace velmora::testing
