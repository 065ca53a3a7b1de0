#pragma once

#include "Platform/NotificationCenter.hpp"
#include "Support/RunLoop.hpp"

#include <memory>

namespace velmora {

/// A Foundation notification centre: the program's own (`NSNotificationCenter`'s default
/// centre) or the session-wide one (`NSDistributedNotificationCenter`, which carries
/// `session_events::screenLocked` as "com.apple.screenIsLocked", heard at once even while the
/// program is not active). Main thread only.
///
///     auto own = std::make_shared<MacNotificationCenter>(MacNotificationCenter::program, loop);
class MacNotificationCenter final : public NotificationCenter {
public:
    enum Scope { program, distributed };

    MacNotificationCenter(Scope scope, std::shared_ptr<RunLoop> runLoop);

    void post(const std::string& name) override;
    [[nodiscard]] Subscription addObserver(const std::string& name, Observer observer) override;

private:
    /// Session-wide events go by the system's own names.
    [[nodiscard]] std::string systemName(const std::string& name) const;

    Scope scope_;
    std::shared_ptr<RunLoop> runLoop_;
};

} // namespace velmora
