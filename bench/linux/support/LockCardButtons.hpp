#pragma once

#include "harness/ScreenRect.hpp"
#include "harness/XDisplay.hpp"
#include "support/FakeInput.hpp"

#include <optional>

namespace velmora::bench {

/// Presses the buttons of the lock card on an overlay, found by what the screen shows.
///
///     LockCardButtons card(display, input);
///     auto unlock = card.pressMinimize(overlay.frame);   // where its Unlock button was
class LockCardButtons {
public:
    LockCardButtons(e2e::XDisplay& display, FakeInput& input) : display_(display), input_(input) {}

    /// Where a card's buttons are on a picture of it.
    struct Buttons {
        e2e::ScreenRect unlock;
        int minimizeX = 0;
        int minimizeY = 0;
    };

    /// Presses Minimize on the card inside `overlayFrame`, then parks the pointer on the bare
    /// root so that no card starts out hovered. Answers the Unlock button's place; throws
    /// std::runtime_error when no card shows there.
    e2e::ScreenRect pressMinimize(const e2e::ScreenRect& overlayFrame);

    /// The buttons of the card on `picture`, found by the Unlock button's fill; nothing when
    /// no card is drawn there.
    [[nodiscard]] static std::optional<Buttons> find(const e2e::Image& picture);

private:
    e2e::XDisplay& display_;
    FakeInput& input_;
};

} // namespace velmora::bench
