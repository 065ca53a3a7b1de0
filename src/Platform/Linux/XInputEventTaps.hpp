#pragma once

#include "Platform/EventTap.hpp"
#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/XcbConnection.hpp"

#include <memory>

namespace velmora {

/// Listen-only input taps over XInput 2 raw events on the root window: key presses aimed at
/// the focused window's process, left and right button presses at the process of the window
/// under the pointer. Without XInput 2.2 no tap can be made (the Input Monitoring
/// permission of this desktop).
///
///     XInputEventTaps taps(connection, clients);
///     auto tap = taps.createListenOnlyTap(mask, [](const InputEvent& e) { ... });
///     if (tap) { tap->setEnabled(true); }
class XInputEventTaps final : public EventTapProviding {
public:
    XInputEventTaps(std::shared_ptr<XcbConnection> connection,
                    std::shared_ptr<X11ClientList> clients);
    ~XInputEventTaps() override;

    [[nodiscard]] std::unique_ptr<EventTap> createListenOnlyTap(InputEventMask mask,
                                                                Callback callback) override;

private:
    class Tap;
    class Hub;

    std::shared_ptr<Hub> hub_;
};

} // namespace velmora
