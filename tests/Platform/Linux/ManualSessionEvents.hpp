#pragma once

#include "Platform/Linux/SessionEventSource.hpp"
#include "Support/Signal.hpp"

namespace velmora::testing {

/// Session events the test raises by hand.
class ManualSessionEvents final : public SessionEventSource {
public:
    Subscription observeWillSleep(Handler handler) override {
        return willSleep.connect(std::move(handler));
    }
    Subscription observeScreenLocked(Handler handler) override {
        return screenLocked.connect(std::move(handler));
    }

    Signal<> willSleep;
    Signal<> screenLocked;
};

} // namespace velmora::testing
