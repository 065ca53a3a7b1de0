#include "Platform/Mac/MacNotificationCenter.hpp"

#include "Platform/Mac/MacObservation.hpp"
#include "Platform/Mac/MacText.hpp"

namespace velmora {

namespace {

NSNotificationCenter* centerFor(MacNotificationCenter::Scope scope) {
    if (scope == MacNotificationCenter::distributed) {
        return [NSDistributedNotificationCenter defaultCenter];
    }
    return [NSNotificationCenter defaultCenter];
}

} // namespace

MacNotificationCenter::MacNotificationCenter(Scope scope, std::shared_ptr<RunLoop> runLoop)
    : scope_(scope), runLoop_(std::move(runLoop)) {}

void MacNotificationCenter::post(const std::string& name) {
    if (NSString* notificationName = toNSString(name)) {
        [centerFor(scope_) postNotificationName:notificationName object:nil];
    }
}

Subscription MacNotificationCenter::addObserver(const std::string& name, Observer observer) {
    NSString* notificationName = toNSString(name);
    if (!notificationName) {
        return {};
    }
    return observeOnRunLoop(centerFor(scope_), notificationName, runLoop_,
                            [observer](NSNotification*) { return observer; });
}

} // namespace velmora
