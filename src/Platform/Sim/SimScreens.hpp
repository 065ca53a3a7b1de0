#pragma once

#include "Platform/Screens.hpp"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace velmora {

/// The simulated displays. The main screen is the first one unless set otherwise.
///
///     SimScreens screens({{"Built-in Retina Display", {0, 0, 1512, 982}},
///                         {"DELL U2720Q", {1512, 0, 2560, 1440}}});
///     screens.setMainScreenIndex(1);
class SimScreens final : public ScreenProviding {
public:
    SimScreens() = default;
    explicit SimScreens(std::vector<Screen> screens) { setScreens(std::move(screens)); }

    /// Replaces the displays; the first becomes the main screen.
    void setScreens(std::vector<Screen> screens) {
        screens_ = std::move(screens);
        mainIndex_ = screens_.empty() ? std::nullopt : std::optional<std::size_t>(0);
    }
    /// No main screen when `index` is none or out of range.
    void setMainScreenIndex(std::optional<std::size_t> index) { mainIndex_ = index; }

    [[nodiscard]] std::vector<Screen> screens() const override { return screens_; }
    [[nodiscard]] std::optional<Screen> mainScreen() const override {
        if (!mainIndex_ || *mainIndex_ >= screens_.size()) {
            return std::nullopt;
        }
        return screens_[*mainIndex_];
    }

private:
    std::vector<Screen> screens_;
    std::optional<std::size_t> mainIndex_;
};

} // namespace velmora
