#pragma once

#include "Platform/OwnerAuthentication.hpp"

#include <string_view>

namespace velmora {

/// What the Unlock button offers, named after the machine's biometric sensor. Each call asks
/// a fresh context, so a sensor attached or enrolled meanwhile shows at the next redraw.
///
///     biometricIconName(contexts);   // "touchid"
///     biometricName(contexts);       // "Touch ID"
///
/// Without a sensor (or without a context) the button offers the passcode: "key.fill",
/// "Passcode".
[[nodiscard]] std::string_view biometricIconName(const OwnerAuthenticationContextFactory& contexts);
[[nodiscard]] std::string_view biometricName(const OwnerAuthenticationContextFactory& contexts);

} // namespace velmora
