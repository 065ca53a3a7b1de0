#include "Services/AuthManager.hpp"

#include "Platform/Platform.hpp"

#include <array>
#include <atomic>
#include <utility>

namespace velmora {

namespace {

struct CodeMapping {
    LAErrorCode code;
    AuthError (*error)();
};

constexpr std::array<CodeMapping, 15> kCodeMappings{{
    {LAErrorCode::authenticationFailed, &AuthError::failed},
    {LAErrorCode::userCancel, &AuthError::userCancelled},
    {LAErrorCode::userFallback, &AuthError::userCancelled},
    {LAErrorCode::appCancel, &AuthError::userCancelled},
    {LAErrorCode::systemCancel, &AuthError::systemCancelled},
    {LAErrorCode::invalidContext, &AuthError::systemCancelled},
    {LAErrorCode::notInteractive, &AuthError::systemCancelled},
    {LAErrorCode::passcodeNotSet, &AuthError::notAvailable},
    {LAErrorCode::biometryNotAvailable, &AuthError::notAvailable},
    {LAErrorCode::biometryNotEnrolled, &AuthError::notAvailable},
    {LAErrorCode::biometryLockout, &AuthError::notAvailable},
    {LAErrorCode::companionNotAvailable, &AuthError::notAvailable},
    {LAErrorCode::biometryNotPaired, &AuthError::notAvailable},
    {LAErrorCode::biometryDisconnected, &AuthError::notAvailable},
    {LAErrorCode::invalidDimensions, &AuthError::notAvailable},
}};

AuthResult resultOfReply(bool success, const std::optional<OwnerAuthenticationError>& error) {
    if (error) {
        return AuthResult::failure(AuthManager::mapError(*error));
    }
    // A reply that claims neither success nor an error is not a success.
    return success ? AuthResult::success() : AuthResult::failure(AuthError::failed());
}

} // namespace

/// One outcome on its way to the caller. Owned by the reply the system holds, so it lives
/// until the system answers; the first answer wins and later ones are dropped. A reply that
/// is dropped unanswered counts as interrupted by the system, so the caller still hears back.
class AuthManager::Request : public std::enable_shared_from_this<Request> {
public:
    Request(std::shared_ptr<RunLoop> mainLoop, Completion completion)
        : mainLoop_(std::move(mainLoop)), completion_(std::move(completion)) {}

    ~Request() {
        if (!answered_.exchange(true)) {
            mainLoop_->post([completion = std::move(completion_)] {
                completion(AuthResult::failure(AuthError::systemCancelled()));
            });
        }
    }

    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

    /// Main thread only, before the prompt.
    OwnerAuthenticationContext* adoptContext(std::unique_ptr<OwnerAuthenticationContext> context) {
        context_ = std::move(context);
        return context_.get();
    }

    /// Any thread.
    void answer(AuthResult result) {
        if (answered_.exchange(true)) {
            return;
        }
        mainLoop_->post([self = shared_from_this(), result = std::move(result)] {
            self->context_.reset();
            const Completion completion = std::move(self->completion_);
            completion(result);
        });
    }

private:
    std::shared_ptr<RunLoop> mainLoop_;
    Completion completion_;
    std::unique_ptr<OwnerAuthenticationContext> context_;
    std::atomic<bool> answered_{false};
};

AuthManager::AuthManager(std::shared_ptr<RunLoop> mainLoop,
                         OwnerAuthenticationContextFactory contextFactory,
                         std::shared_ptr<FailedAttempts> failedAttempts)
    : contextFactory(std::move(contextFactory)), mainLoop_(std::move(mainLoop)),
      failedAttempts_(std::move(failedAttempts)) {}

std::shared_ptr<AuthManager> AuthManager::shared() {
    static const std::shared_ptr<AuthManager> instance = [] {
        const Platform& platform = installedPlatform();
        return std::make_shared<AuthManager>(platform.runLoop,
                                             makeContextFactory(platform.ownerAuthentication),
                                             FailedAttempts::shared());
    }();
    return instance;
}

void AuthManager::authenticate(std::string reason, Completion completion) {
    authenticate(std::move(reason), "Velmora", std::move(completion));
}

void AuthManager::authenticate(std::string reason, std::string application, Completion completion) {
    if (!failedAttempts_) {
        prompt(std::move(reason), std::move(completion));
        return;
    }
    if (const auto wait = failedAttempts_->secondsToWait().get()) {
        mainLoop_->post([completion = std::move(completion), wait = *wait] {
            completion(AuthResult::failure(
                AuthError::unknown("Too many failed attempts. " + FailedAttempts::waitText(wait))));
        });
        return;
    }
    prompt(std::move(reason), [attempts = failedAttempts_, application = std::move(application),
                               completion = std::move(completion)](const AuthResult& result) {
        if (result.isSuccess()) {
            attempts->recordSuccess();
        } else if (result.error()->kind() == AuthError::Kind::failed) {
            attempts->recordFailure(application);
        }
        completion(result);
    });
}

void AuthManager::prompt(std::string reason, Completion completion) {
    auto request = std::make_shared<Request>(mainLoop_, std::move(completion));
    OwnerAuthenticationContext* context =
        request->adoptContext(contextFactory ? contextFactory() : nullptr);
    if (!context) {
        request->answer(AuthResult::failure(AuthError::notAvailable()));
        return;
    }

    context->setLocalizedCancelTitle("Cancel");
    context->setLocalizedFallbackTitle("Use Passcode");

    const auto policy = AuthenticationPolicy::deviceOwnerAuthentication;
    std::optional<OwnerAuthenticationError> error;
    if (!context->canEvaluatePolicy(policy, &error)) {
        request->answer(AuthResult::failure(error ? mapError(*error) : AuthError::notAvailable()));
        return;
    }

    context->evaluatePolicy(policy, std::move(reason),
                            [request](bool success, std::optional<OwnerAuthenticationError> error) {
                                request->answer(resultOfReply(success, error));
                            });
}

AuthError AuthManager::mapError(const OwnerAuthenticationError& error) {
    if (error.domain != kLAErrorDomain) {
        return AuthError::unknown(error.localizedDescription);
    }
    for (const CodeMapping& mapping : kCodeMappings) {
        if (static_cast<int>(mapping.code) == error.code) {
            return mapping.error();
        }
    }
    return AuthError::unknown(error.localizedDescription);
}

} // namespace velmora
