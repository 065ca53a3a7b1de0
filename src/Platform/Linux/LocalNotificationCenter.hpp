#pragma once

#include "Platform/NotificationCenter.hpp"
#include "Support/RunLoop.hpp"
#include "Support/Signal.hpp"

#include <map>
#include <memory>
#include <string>

namespace velmora {

/// The program's own notification centre ("openSettingsRequested"), inside this process.
///
///     LocalNotificationCenter center(runLoop);
///     Subscription s = center.addObserver("openSettingsRequested", [] { openSettings(); });
///     center.post("openSettingsRequested");   // the observer runs on a later main-queue turn
///
/// A post that is still queued when the centre goes away reaches nobody.
class LocalNotificationCenter final : public NotificationCenter {
public:
    explicit LocalNotificationCenter(std::shared_ptr<RunLoop> runLoop);

    void post(const std::string& name) override;
    [[nodiscard]] Subscription addObserver(const std::string& name, Observer observer) override;

private:
    using Channels = std::map<std::string, Signal<>>;

    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<Channels> channels_;
};

} // namespace velmora
