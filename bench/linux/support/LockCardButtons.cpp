#include "support/LockCardButtons.hpp"

#include "Core/Overlay/LockCardView.hpp"
#include "harness/Eventually.hpp"

#include <stdexcept>

namespace velmora::bench {
namespace {

// The Unlock button, found by its fill; Minimize is centred below it.
constexpr e2e::Rgb kBrandFill = e2e::Rgb::fromUnit(0.25, 0.25, 0.4);
constexpr int kUnlockButtonMinimumWidth = 150;
constexpr int kFillTolerance = 3;
// Half the height of the Minimize label.
constexpr int kMinimizeLabelMiddle = 8;
constexpr int kMinimizeBelowButton =
    static_cast<int>(LockCardView::unlockButtonPaddingBottom) + kMinimizeLabelMiddle;
constexpr int kParkingX = 5;
constexpr int kParkingY = 795;

} // namespace

std::optional<LockCardButtons::Buttons> LockCardButtons::find(const e2e::Image& picture) {
    const auto unlock = picture.band(kBrandFill, kUnlockButtonMinimumWidth, kFillTolerance);
    if (!unlock) {
        return std::nullopt;
    }
    return Buttons{*unlock, unlock->centerX(), unlock->bottom() + kMinimizeBelowButton};
}

e2e::ScreenRect LockCardButtons::pressMinimize(const e2e::ScreenRect& overlayFrame) {
    std::optional<Buttons> buttons;
    e2e::eventually([&] { return (buttons = find(display_.capture(overlayFrame))).has_value(); });
    if (!buttons) {
        throw std::runtime_error("no lock card on the overlay");
    }
    input_.click(buttons->minimizeX, buttons->minimizeY);
    input_.moveTo(kParkingX, kParkingY);
    return buttons->unlock;
}

} // namespace velmora::bench
