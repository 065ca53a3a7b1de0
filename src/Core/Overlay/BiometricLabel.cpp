#include "Core/Overlay/BiometricLabel.hpp"

#include <array>

namespace velmora {

namespace {

struct BiometricLabel {
    BiometryType type;
    std::string_view iconName;
    std::string_view name;
};

constexpr std::array<BiometricLabel, 4> kLabels{{
    {BiometryType::none, "key.fill", "Passcode"},
    {BiometryType::touchID, "touchid", "Touch ID"},
    {BiometryType::faceID, "faceid", "Face ID"},
    {BiometryType::opticID, "opticid", "Optic ID"},
}};

constexpr BiometricLabel kOtherSensor{BiometryType::none, "lock.open.fill", "Biometrics"};

BiometryType currentBiometryType(const OwnerAuthenticationContextFactory& contexts) {
    auto context = contexts ? contexts() : nullptr;
    if (!context) {
        return BiometryType::none;
    }
    // Only asked so that the context fills in its biometry type; the answer does not matter.
    (void)context->canEvaluatePolicy(AuthenticationPolicy::deviceOwnerAuthenticationWithBiometrics,
                                     nullptr);
    return context->biometryType();
}

const BiometricLabel& labelFor(BiometryType type) {
    for (const BiometricLabel& label : kLabels) {
        if (label.type == type) {
            return label;
        }
    }
    return kOtherSensor;
}

} // namespace

std::string_view biometricIconName(const OwnerAuthenticationContextFactory& contexts) {
    return labelFor(currentBiometryType(contexts)).iconName;
}

std::string_view biometricName(const OwnerAuthenticationContextFactory& contexts) {
    return labelFor(currentBiometryType(contexts)).name;
}

} // namespace velmora
