#pragma once

#include "Platform/Linux/AuthHelperProcess.hpp"
#include "Platform/Linux/AuthHelperProtocol.hpp"
#include "Platform/Linux/LaterDeleted.hpp"
#include "Platform/Linux/PamAuthenticationSettings.hpp"
#include "Platform/Linux/PamStackSurvey.hpp"
#include "Platform/Linux/PasswordPrompting.hpp"
#include "Platform/OwnerAuthentication.hpp"
#include "Support/Lifetime.hpp"

#include <QTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// One authentication through PAM: Velmora's password prompt in front, `velmora-auth-helper`
/// behind it doing the PAM conversation.
///
///     PamAuthenticationContext context(prompts, settings);
///     if (context.canEvaluatePolicy(AuthenticationPolicy::deviceOwnerAuthentication, &error))
///         context.evaluatePolicy(policy, "Unlock Notes", [](bool ok, auto error) { ... });
///
/// Only the helper's explicit success, followed by its exit with status 0, is a success. The
/// reply runs once, on the thread that called `evaluatePolicy`: from its Qt event loop, or
/// at once when the helper cannot be started. Destroying the context kills the helper and
/// closes the prompt without a reply.
class PamAuthenticationContext final : public OwnerAuthenticationContext {
public:
    /// Contexts of one service share `survey`; without one, the context reads the stack itself.
    PamAuthenticationContext(std::shared_ptr<PasswordPrompting> prompts,
                             PamAuthenticationSettings settings,
                             std::shared_ptr<PamStackSurvey> survey = nullptr);
    ~PamAuthenticationContext() override;
    PamAuthenticationContext(const PamAuthenticationContext&) = delete;
    PamAuthenticationContext& operator=(const PamAuthenticationContext&) = delete;

    /// The prompt has its own Cancel and no fallback.
    void setLocalizedCancelTitle(std::string) override {}
    void setLocalizedFallbackTitle(std::string) override {}
    bool canEvaluatePolicy(AuthenticationPolicy policy,
                           std::optional<OwnerAuthenticationError>* error) override;
    void evaluatePolicy(AuthenticationPolicy policy, std::string localizedReason,
                        Reply reply) override;
    [[nodiscard]] BiometryType biometryType() const override { return biometryType_; }
    [[nodiscard]] std::string_view passcodeName() const override { return "Password"; }

private:
    enum class Stage { idle, waitingForHelper, waitingForPerson, done };

    void onHelperLine(std::string_view line);
    void onHelperExit(int waitStatus);
    void showNotes();
    void answerPrompt(const std::string& text);
    void requestPassword();
    void onPassword(std::optional<SecretBuffer> password);
    void sendAnswer(const SecretBuffer& answer);
    void waitForHelper();
    void fail(LAErrorCode code, std::string description);
    void finish(bool success, std::optional<OwnerAuthenticationError> error);

    std::shared_ptr<PasswordPrompting> prompts_;
    PamAuthenticationSettings settings_;
    std::shared_ptr<PamStackSurvey> survey_;
    BiometryType biometryType_ = BiometryType::none;

    Stage stage_ = Stage::idle;
    Reply reply_;
    std::unique_ptr<PasswordPrompt> prompt_;
    std::unique_ptr<AuthHelperProcess> helper_;
    LaterDeleted<QTimer> helperTimer_{new QTimer};
    /// What the helper said it will end with.
    std::optional<authhelper::HelperResult> result_;
    /// Shown above the field at the next prompt.
    std::vector<std::string> notes_;
    /// The prompt waits for the person.
    bool requestOutstanding_ = false;
    /// Typed before PAM asked, ready to send.
    std::optional<SecretBuffer> heldAnswer_;
    /// PAM refused a password of this prompt.
    bool wrongPassword_ = false;
    /// Lets a late prompt answer find out that this context is gone.
    LifetimeToken lifetime_;
};

} // namespace velmora
