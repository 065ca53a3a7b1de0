#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// The error domain of the owner-authentication system.
inline constexpr std::string_view kLAErrorDomain = "com.apple.LocalAuthentication";

/// The codes of `kLAErrorDomain`.
enum class LAErrorCode : int {
    authenticationFailed = -1,
    userCancel = -2,
    userFallback = -3,
    systemCancel = -4,
    passcodeNotSet = -5,
    biometryNotAvailable = -6,
    biometryNotEnrolled = -7,
    biometryLockout = -8,
    appCancel = -9,
    invalidContext = -10,
    companionNotAvailable = -11,
    biometryNotPaired = -12,
    biometryDisconnected = -13,
    invalidDimensions = -14,
    notInteractive = -1004,
};

/// An error as the authentication system reports it.
struct OwnerAuthenticationError {
    std::string domain;
    int code = 0;
    std::string localizedDescription;

    /// An error of `kLAErrorDomain`.
    static OwnerAuthenticationError local(LAErrorCode code, std::string description = {}) {
        return {std::string(kLAErrorDomain), static_cast<int>(code), std::move(description)};
    }

    friend bool operator==(const OwnerAuthenticationError&,
                           const OwnerAuthenticationError&) = default;
};

enum class AuthenticationPolicy : int {
    deviceOwnerAuthenticationWithBiometrics = 1,
    /// Biometrics or the account password.
    deviceOwnerAuthentication = 2,
};

/// The kind of biometric sensor a context reports. Other values than these may be reported.
/// `fingerprint` is a reader that PAM offers on Linux; the Apple systems never report it.
enum class BiometryType : int { none = 0, touchID = 1, faceID = 2, opticID = 4, fingerprint = 100 };

/// One authentication request to the system, used for a single prompt and then dropped.
///
///     auto context = service.makeContext();
///     context->setLocalizedCancelTitle("Cancel");
///     std::optional<OwnerAuthenticationError> error;
///     if (context->canEvaluatePolicy(AuthenticationPolicy::deviceOwnerAuthentication, &error))
///         context->evaluatePolicy(policy, "Quit Velmora", [](bool ok, auto error) { ... });
class OwnerAuthenticationContext {
public:
    /// Called once per evaluation, on any thread.
    using Reply = std::function<void(bool success, std::optional<OwnerAuthenticationError> error)>;

    virtual ~OwnerAuthenticationContext() = default;

    virtual void setLocalizedCancelTitle(std::string title) = 0;
    virtual void setLocalizedFallbackTitle(std::string title) = 0;
    /// Whether the policy can be evaluated now; may fill in `error` (when not null) with why
    /// not. Also fills in `biometryType`.
    virtual bool canEvaluatePolicy(AuthenticationPolicy policy,
                                   std::optional<OwnerAuthenticationError>* error) = 0;
    /// Shows the system prompt with `localizedReason`.
    virtual void evaluatePolicy(AuthenticationPolicy policy, std::string localizedReason,
                                Reply reply) = 0;
    /// `none` until `canEvaluatePolicy` has been asked.
    [[nodiscard]] virtual BiometryType biometryType() const = 0;
    /// What the system calls the secret typed instead of a biometric, e.g. "Passcode"; a text
    /// that lives as long as the program.
    [[nodiscard]] virtual std::string_view passcodeName() const { return "Passcode"; }
};

/// Makes a fresh context for each request.
using OwnerAuthenticationContextFactory =
    std::function<std::unique_ptr<OwnerAuthenticationContext>()>;

/// The system's owner authentication.
class OwnerAuthenticationService {
public:
    virtual ~OwnerAuthenticationService() = default;
    [[nodiscard]] virtual std::unique_ptr<OwnerAuthenticationContext> makeContext() = 0;
};

/// A factory over `service`, keeping it alive; makes no context when `service` is null.
inline OwnerAuthenticationContextFactory
makeContextFactory(std::shared_ptr<OwnerAuthenticationService> service) {
    return [service = std::move(service)]() -> std::unique_ptr<OwnerAuthenticationContext> {
        return service ? service->makeContext() : nullptr;
    };
}

} // namespace velmora
