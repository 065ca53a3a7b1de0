#include "Platform/Mac/MacNotificationCenter.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacObservation.hpp"
#include "Platform/Mac/MacText.hpp"

namespace velmora {

MacNotificationCenter::MacNotificationCenter(Scope scope, std::shared_ptr<RunLoop> runLoop)
    : scope_(scope), runLoop_(std::move(runLoop)) {}

std::string MacNotificationCenter::systemName(const std::string& name) const {
    return scope_ == distributed ? appleNotificationName(name) : name;
}

void MacNotificationCenter::post(const std::string& name) {
    NSString* notificationName = toNSString(systemName(name));
    if (!notificationName) {
        return;
    }
    if (scope_ == distributed) {
        [[NSDistributedNotificationCenter defaultCenter] postNotificationName:notificationName
                                                                       object:nil];
    } else {
        [[NSNotificationCenter defaultCenter] postNotificationName:notificationName object:nil];
    }
}

Subscription MacNotificationCenter::addObserver(const std::string& name, Observer observer) {
    NSString* notificationName = toNSString(systemName(name));
    if (!notificationName) {
        return {};
    }
    NotificationReader read = [observer](NSNotification*) { return observer; };
    if (scope_ == distributed) {
        return observeDistributedOnRunLoop([NSDistributedNotificationCenter defaultCenter],
                                           notificationName, runLoop_, read);
    }
    return observeOnRunLoop([NSNotificationCenter defaultCenter], notificationName, runLoop_, read);
}

} // namespace velmora
