#include "Core/Overlay/BiometricLabel.hpp"

#include <array>

namespace velmora {

namespace {

struct BiometricLabel {
    BiometryType type;
    std::string_view iconName;
    std::string_view name;
};

constexpr std::array<BiometricLabel, 5> kLabels{{
    {BiometryType::none, "key.fill", "Passcode"},
    {BiometryType::touchID, "touchid", "Touch ID"},
    {BiometryType::faceID, "faceid", "Face ID"},
    {BiometryType::opticID, "opticid", "Optic ID"},
    {BiometryType::fingerprint, "touchid", "Fingerprint"},
}};

constexpr BiometricLabel kOtherSensor{BiometryType::none, "lock.open.fill", "Biometrics"};

struct Sensor {
    BiometryType type = BiometryType::none;
    std::string_view passcodeName = "Passcode";
};

Sensor currentSensor(const OwnerAuthenticationContextFactory& contexts) {
    auto context = contexts ? contexts() : nullptr;
    if (!context) {
        return {};
    }
    // Only asked so that the context fills in its biometry type; the answer does not matter.
    (void)context->canEvaluatePolicy(AuthenticationPolicy::deviceOwnerAuthenticationWithBiometrics,
                                     nullptr);
    return {context->biometryType(), context->passcodeName()};
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
    return labelFor(currentSensor(contexts).type).iconName;
}

std::string_view biometricName(const OwnerAuthenticationContextFactory& contexts) {
    const Sensor sensor = currentSensor(contexts);
    return sensor.type == BiometryType::none ? sensor.passcodeName : labelFor(sensor.type).name;
}

} // namespace velmora
