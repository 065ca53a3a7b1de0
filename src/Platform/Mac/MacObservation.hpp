#pragma once

// Objective-C++ only: notification registrations that deliver through the run loop.

#include "Support/RunLoop.hpp"
#include "Support/Subscription.hpp"

#import <Foundation/Foundation.h>
#include <functional>
#include <memory>

namespace velmora {

/// Reads what a handler needs from a notification, on the main thread while the
/// notification object is alive, and answers the work to run later.
using NotificationReader = std::function<RunLoop::Task(NSNotification*)>;

/// Registers for `name` from any sender on the main operation queue and posts the work that
/// `read` answers to `runLoop`, so handlers run after the code that caused the notification.
/// The subscription removes the registration, and work already posted then does nothing.
///
///     Subscription s = observeOnRunLoop(center, NSWorkspaceWillSleepNotification, loop,
///                                       [handler](NSNotification*) { return handler; });
Subscription observeOnRunLoop(NSNotificationCenter* center, NSNotificationName name,
                              std::shared_ptr<RunLoop> runLoop, NotificationReader read);

/// The same for the session-wide centre, registered to be delivered at once: the
/// application object holds back distributed notifications while the program is not the
/// active application, which a menu-bar utility almost never is.
Subscription observeDistributedOnRunLoop(NSDistributedNotificationCenter* center,
                                         NSNotificationName name, std::shared_ptr<RunLoop> runLoop,
                                         NotificationReader read);

} // namespace velmora
