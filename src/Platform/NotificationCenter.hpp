#pragma once

#include "Support/Subscription.hpp"

#include <functional>
#include <string>

namespace velmora {

/// The session-wide events, named by what they mean. Each platform's session-wide centre
/// posts its own signal under these names.
namespace session_events {
inline constexpr const char* screenLocked = "screenLocked";
} // namespace session_events

/// Named notifications without payload, such as "openSettingsRequested" in the program's
/// own centre or `session_events::screenLocked` in the session-wide one.
///
///     Subscription s = center.addObserver("openSettingsRequested", [] { openSettings(); });
///     center.post("openSettingsRequested");
///
/// Observers are called on the main queue, after the work that posted.
class NotificationCenter {
public:
    using Observer = std::function<void()>;

    virtual ~NotificationCenter() = default;
    virtual void post(const std::string& name) = 0;
    [[nodiscard]] virtual Subscription addObserver(const std::string& name, Observer observer) = 0;
};

} // namespace velmora
