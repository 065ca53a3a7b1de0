#pragma once

#include "Support/Subscription.hpp"

#include <functional>
#include <string>

namespace velmora {

/// Named notifications without payload, such as "openSettingsRequested" in the program's
/// own centre or "com.apple.screenIsLocked" in the session-wide one.
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
