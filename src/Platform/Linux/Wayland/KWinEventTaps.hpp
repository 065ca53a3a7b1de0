#pragma once

#include "Platform/EventTap.hpp"
#include "Platform/Linux/Wayland/CompositorBridge.hpp"
#include "Platform/Linux/Wayland/WaylandIdleNotifier.hpp"

#include <memory>

namespace velmora {

/// Input taps on KDE Plasma's Wayland session, where no program sees another's input: a use
/// of the desktop is known from the compositor alone, as the person coming back from idle
/// (its idle notification) or bringing a window forward. Each is reported as a key press
/// aimed at the process of the active window.
///
///     KWinEventTaps taps(bridge, WaylandIdleNotifier::connect(logger));
///     auto tap = taps.createListenOnlyTap(mask, [](const InputEvent& e) { ... });
///     tap->setEnabled(true);
class KWinEventTaps final : public EventTapProviding {
public:
    /// `idle` may be null: then only activations count.
    KWinEventTaps(std::shared_ptr<CompositorBridge> bridge,
                  std::shared_ptr<WaylandIdleNotifier> idle);

    [[nodiscard]] std::unique_ptr<EventTap> createListenOnlyTap(InputEventMask mask,
                                                                Callback callback) override;

private:
    class Tap;

    std::shared_ptr<CompositorBridge> bridge_;
    std::shared_ptr<WaylandIdleNotifier> idle_;
};

} // namespace velmora
