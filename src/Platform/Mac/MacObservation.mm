#include "Platform/Mac/MacObservation.hpp"

namespace velmora {

Subscription observeOnRunLoop(NSNotificationCenter* center, NSNotificationName name,
                              std::shared_ptr<RunLoop> runLoop, NotificationReader read) {
    auto active = std::make_shared<bool>(true);
    id token = [center addObserverForName:name
                                   object:nil
                                    queue:[NSOperationQueue mainQueue]
                               usingBlock:^(NSNotification* notification) {
                                 if (!*active) {
                                     return;
                                 }
                                 runLoop->post([active, task = read(notification)] {
                                     if (*active && task) {
                                         task();
                                     }
                                 });
                               }];
    return Subscription([center, token, active] {
        *active = false;
        [center removeObserver:token];
    });
}

} // namespace velmora
