#include "Platform/Mac/MacLoginItemService.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacText.hpp"

#import <ServiceManagement/ServiceManagement.h>

namespace velmora {

namespace {

static_assert(SMAppServiceStatusEnabled == 1);

std::optional<std::string> failure(BOOL succeeded, NSError* error) {
    if (succeeded) {
        return std::nullopt;
    }
    return error ? toStdString(error.localizedDescription) : std::string("Unknown error");
}

} // namespace

bool MacLoginItemService::isEnabled() const {
    return isLoginItemEnabled(SMAppService.mainAppService.status);
}

std::optional<std::string> MacLoginItemService::registerItem() {
    NSError* error = nil;
    const BOOL succeeded = [SMAppService.mainAppService registerAndReturnError:&error];
    return failure(succeeded, error);
}

std::optional<std::string> MacLoginItemService::unregisterItem() {
    NSError* error = nil;
    const BOOL succeeded = [SMAppService.mainAppService unregisterAndReturnError:&error];
    return failure(succeeded, error);
}

} // namespace velmora
