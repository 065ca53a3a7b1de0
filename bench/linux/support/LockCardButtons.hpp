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

    /// Presses Minimize on the card inside `overlayFrame`, then parks the pointer on the bare
    /// root so that no card starts out hovered. Answers the Unlock button's place; throws
    /// std::runtime_error when no card shows there.
    e2e::ScreenRect pressMinimize(const e2e::ScreenRect& overlayFrame);

private:
    e2e::XDisplay& display_;
    FakeInput& input_;
};

} // namespace velmora::bench
