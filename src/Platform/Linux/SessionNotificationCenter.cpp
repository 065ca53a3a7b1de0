#include "Platform/Linux/SessionNotificationCenter.hpp"

namespace velmora {

SessionNotificationCenter::SessionNotificationCenter(std::shared_ptr<SessionEventSource> events,
                                                     std::shared_ptr<RunLoop> runLoop)
    : events_(std::move(events)),
      center_(std::make_shared<LocalNotificationCenter>(std::move(runLoop))),
      screenLocked_(
          events_->observeScreenLocked([center = std::weak_ptr<LocalNotificationCenter>(center_)] {
              if (const auto locked = center.lock()) {
                  locked->post(session_events::screenLocked);
              }
          })) {}

void SessionNotificationCenter::post(const std::string& name) {
    center_->post(name);
}

Subscription SessionNotificationCenter::addObserver(const std::string& name, Observer observer) {
    return center_->addObserver(name, std::move(observer));
}

} // namespace velmora
