#include "Platform/Mac/MacObservation.hpp"

#include "Platform/Mac/RunLoopDelivery.hpp"

/// Receives notifications by selector, for registrations that the block form cannot make.
@interface VLMNotificationReceiver : NSObject
- (instancetype)initWithHandler:(void (^)(NSNotification* notification))handler;
- (void)receive:(NSNotification*)notification;
@end

@implementation VLMNotificationReceiver {
    void (^_handler)(NSNotification*);
}

- (instancetype)initWithHandler:(void (^)(NSNotification* notification))handler {
    if ((self = [super init])) {
        _handler = handler;
    }
    return self;
}

- (void)receive:(NSNotification*)notification {
    _handler(notification);
}

@end

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

Subscription observeDistributedOnRunLoop(NSDistributedNotificationCenter* center,
                                         NSNotificationName name, std::shared_ptr<RunLoop> runLoop,
                                         NotificationReader read) {
    RunLoopDelivery delivery(std::move(runLoop));
    VLMNotificationReceiver* receiver =
        [[VLMNotificationReceiver alloc] initWithHandler:^(NSNotification* notification) {
          if (delivery.isActive()) {
              delivery.post(read(notification));
          }
        }];
    [center addObserver:receiver
                  selector:@selector(receive:)
                      name:name
                    object:nil
        suspensionBehavior:NSNotificationSuspensionBehaviorDeliverImmediately];
    return Subscription([center, receiver, delivery]() mutable {
        delivery.cancel();
        [center removeObserver:receiver];
    });
}

} // namespace velmora
