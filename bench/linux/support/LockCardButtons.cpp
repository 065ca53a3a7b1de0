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

e2e::ScreenRect LockCardButtons::pressMinimize(const e2e::ScreenRect& overlayFrame) {
    std::optional<e2e::ScreenRect> button;
    e2e::eventually([&] {
        button = display_.capture(overlayFrame)
                     .band(kBrandFill, kUnlockButtonMinimumWidth, kFillTolerance);
        return button.has_value();
    });
    if (!button) {
        throw std::runtime_error("no lock card on the overlay");
    }
    input_.click(button->centerX(), button->bottom() + kMinimizeBelowButton);
    input_.moveTo(kParkingX, kParkingY);
    return *button;
}

} // namespace velmora::bench
