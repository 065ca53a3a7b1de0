#include "Platform/Mac/AppleValues.hpp"

#include <limits>

namespace velmora {

ActivationPolicy activationPolicyFromRaw(long long raw) {
    switch (raw) {
    case 0:
        return ActivationPolicy::regular;
    case 1:
        return ActivationPolicy::accessory;
    default:
        return ActivationPolicy::prohibited;
    }
}

long long rawActivationPolicy(ActivationPolicy policy) {
    switch (policy) {
    case ActivationPolicy::regular:
        return 0;
    case ActivationPolicy::accessory:
        return 1;
    case ActivationPolicy::prohibited:
        return 2;
    }
    return 2;
}

BiometryType biometryTypeFromRaw(long long raw) {
    if (raw < 0 || raw > std::numeric_limits<int>::max() ||
        raw == static_cast<int>(BiometryType::fingerprint)) {
        return BiometryType::none;
    }
    return static_cast<BiometryType>(raw);
}

bool isLoginItemEnabled(long long rawStatus) {
    return rawStatus == 1;
}

InputEvent inputEventFromQuartz(std::uint32_t type, std::int64_t targetPid) {
    const bool fits = targetPid >= std::numeric_limits<std::int32_t>::min() &&
                      targetPid <= std::numeric_limits<std::int32_t>::max();
    return {static_cast<InputEventType>(type), fits ? static_cast<std::int32_t>(targetPid) : 0};
}

} // namespace velmora
