#include "Platform/Mac/MacObservation.hpp"

#include "Platform/Mac/RunLoopDelivery.hpp"

namespace velmora {

Subscription observeOnRunLoop(NSNotificationCenter* center, NSNotificationName name,
                              std::shared_ptr<RunLoop> runLoop, NotificationReader read) {
    RunLoopDelivery delivery(std::move(runLoop));
    id token = [center addObserverForName:name
                                   object:nil
                                    queue:[NSOperationQueue mainQueue]
                               usingBlock:^(NSNotification* notification) {
                                 if (delivery.isActive()) {
                                     delivery.post(read(notification));
                                 }
                               }];
    return Subscription([center, token, delivery]() mutable {
        delivery.cancel();
        [center removeObserver:token];
    });
}

} // namespace velmora
