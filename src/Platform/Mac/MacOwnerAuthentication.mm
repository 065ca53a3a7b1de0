#include "Platform/Mac/MacOwnerAuthentication.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacText.hpp"

#import <LocalAuthentication/LocalAuthentication.h>

namespace velmora {

namespace {

static_assert(LAPolicyDeviceOwnerAuthentication ==
              static_cast<LAPolicy>(AuthenticationPolicy::deviceOwnerAuthentication));
static_assert(LAPolicyDeviceOwnerAuthenticationWithBiometrics ==
              static_cast<LAPolicy>(AuthenticationPolicy::deviceOwnerAuthenticationWithBiometrics));

/// The error as the system reported it; the mapping to the program's cases is portable.
OwnerAuthenticationError errorFrom(NSError* error) {
    return {toStdString(error.domain), static_cast<int>(error.code),
            toStdString(error.localizedDescription)};
}

class MacAuthenticationContext final : public OwnerAuthenticationContext {
public:
    void setLocalizedCancelTitle(std::string title) override {
        context_.localizedCancelTitle = toNSString(title);
    }

    void setLocalizedFallbackTitle(std::string title) override {
        context_.localizedFallbackTitle = toNSString(title);
    }

    bool canEvaluatePolicy(AuthenticationPolicy policy,
                           std::optional<OwnerAuthenticationError>* error) override {
        NSError* reason = nil;
        const bool can = [context_ canEvaluatePolicy:static_cast<LAPolicy>(policy) error:&reason];
        // Filled in by the call above, whatever its answer.
        biometryType_ = biometryTypeFromRaw(context_.biometryType);
        if (error) {
            *error = reason ? std::optional(errorFrom(reason)) : std::nullopt;
        }
        return can;
    }

    void evaluatePolicy(AuthenticationPolicy policy, std::string localizedReason,
                        Reply reply) override {
        NSString* reasonText = toNSString(localizedReason);
        if (reasonText.length == 0) {
            // The system refuses an empty reason with an exception, not an error.
            reply(false, OwnerAuthenticationError{"com.tovren.velmora", 0,
                                                  "The authentication reason is empty"});
            return;
        }
        [context_ evaluatePolicy:static_cast<LAPolicy>(policy)
                 localizedReason:reasonText
                           reply:^(BOOL success, NSError* error) {
                             reply(success, error ? std::optional(errorFrom(error)) : std::nullopt);
                           }];
    }

    [[nodiscard]] BiometryType biometryType() const override { return biometryType_; }

private:
    LAContext* context_ = [[LAContext alloc] init];
    BiometryType biometryType_ = BiometryType::none;
};

} // namespace

std::unique_ptr<OwnerAuthenticationContext> MacOwnerAuthentication::makeContext() {
    return std::make_unique<MacAuthenticationContext>();
}

} // namespace velmora
