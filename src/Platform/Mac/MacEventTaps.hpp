#pragma once

#include "Platform/EventTap.hpp"

namespace velmora {

/// Listen-only Quartz event taps at the session tap point, inserted at the head, with their
/// run-loop source on the main run loop in the common modes. Creating one fails without the
/// Input Monitoring permission. Main thread only.
class MacEventTaps final : public EventTapProviding {
public:
    std::unique_ptr<EventTap> createListenOnlyTap(InputEventMask mask, Callback callback) override;
};

} // namespace velmora
