#pragma once

#include "Platform/EventTap.hpp"

#include <cstddef>
#include <memory>
#include <vector>

namespace velmora {

/// The simulated session's input taps.
///
///     SimEventTaps taps;
///     taps.setCreationAllowed(false);          // Input Monitoring refused
///     taps.deliver({InputEventType::keyDown, 42});
///     taps.disableAll(InputEventType::tapDisabledByTimeout);
///
/// Events reach every live, enabled tap whose mask selects them, synchronously.
class SimEventTaps final : public EventTapProviding {
public:
    SimEventTaps();

    std::unique_ptr<EventTap> createListenOnlyTap(InputEventMask mask, Callback callback) override;

    /// Whether creating a tap succeeds (the Input Monitoring permission).
    void setCreationAllowed(bool allowed);
    /// While set, enabling a tap has no effect: it stays disabled.
    void setEnablingFails(bool fails);

    void deliver(const InputEvent& event);
    /// The system switches every live tap off and tells each with `reason`.
    void disableAll(InputEventType reason);

    [[nodiscard]] std::size_t tapsCreated() const;
    [[nodiscard]] std::size_t liveTapCount() const;
    [[nodiscard]] bool anyLiveTapEnabled() const;

    struct TapState;

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace velmora
