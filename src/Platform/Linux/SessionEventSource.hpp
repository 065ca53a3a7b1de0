#pragma once

#include "Support/Subscription.hpp"

#include <functional>

namespace velmora {

/// Power and session events of the desktop session (logind and the screen saver over D-Bus).
/// Handlers run on the main queue. A missing bus is logged, never fatal: the events then
/// simply never come.
///
///     Subscription s = events.observeWillSleep([] { relockEverything(); });
class SessionEventSource {
public:
    using Handler = std::function<void()>;

    virtual ~SessionEventSource() = default;

    /// The system is about to sleep. The sleep waits (a logind delay inhibitor) until the
    /// main-queue work queued by the handlers has run.
    [[nodiscard]] virtual Subscription observeWillSleep(Handler handler) = 0;
    /// The session's screen was locked.
    [[nodiscard]] virtual Subscription observeScreenLocked(Handler handler) = 0;
};

} // namespace velmora
