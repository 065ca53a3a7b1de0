#pragma once

#include "Platform/Linux/LocalNotificationCenter.hpp"
#include "Platform/Linux/SessionEventSource.hpp"

#include <memory>

namespace velmora {

/// The session-wide notification centre as the lock engine sees it: the session's screen
/// locks arrive as `session_events::screenLocked`.
///
///     SessionNotificationCenter center(sessionEvents, runLoop);
///     Subscription s = center.addObserver(session_events::screenLocked, [] { relock(); });
///
/// Names posted here reach this centre's own observers only; nothing leaves the process.
class SessionNotificationCenter final : public NotificationCenter {
public:
    SessionNotificationCenter(std::shared_ptr<SessionEventSource> events,
                              std::shared_ptr<RunLoop> runLoop);

    void post(const std::string& name) override;
    [[nodiscard]] Subscription addObserver(const std::string& name, Observer observer) override;

private:
    std::shared_ptr<SessionEventSource> events_;
    std::shared_ptr<LocalNotificationCenter> center_;
    Subscription screenLocked_;
};

} // namespace velmora
