#pragma once

#include "Platform/OwnerAuthentication.hpp"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// The simulated owner: answers prompts with the outcomes a test or scenario queues.
///
///     auto owner = std::make_shared<SimAuthenticator>();
///     AuthManager auth(loop, makeContextFactory(owner));
///     auth.authenticate("Unlock Notes", done);     // the prompt waits...
///     owner->queueOutcome(SimAuthenticator::Outcome::succeed());   // ...until answered
///
/// An outcome queued before a prompt answers the next prompt at once. Owned by a
/// `std::shared_ptr`: the contexts it makes keep it alive. Main thread only; with
/// `setRepliesFromBackgroundThread(true)` each reply is called on a thread of its own, which
/// has finished by the time the call that caused it returns.
class SimAuthenticator final : public OwnerAuthenticationService,
                               public std::enable_shared_from_this<SimAuthenticator> {
public:
    /// What the system answers to one prompt.
    struct Outcome {
        bool success = false;
        std::optional<OwnerAuthenticationError> error;

        static Outcome succeed() { return {true, std::nullopt}; }
        static Outcome fail(LAErrorCode code, std::string description = {}) {
            return {false, OwnerAuthenticationError::local(code, std::move(description))};
        }
        static Outcome fail(OwnerAuthenticationError error) { return {false, std::move(error)}; }
    };

    /// One prompt as the owner saw it.
    struct Prompt {
        std::string reason;
        AuthenticationPolicy policy;
        std::string cancelTitle;
        std::string fallbackTitle;
    };

    [[nodiscard]] std::unique_ptr<OwnerAuthenticationContext> makeContext() override;

    /// Answers the oldest waiting prompt, or keeps the outcome for the next prompt.
    void queueOutcome(Outcome outcome);

    /// What `canEvaluatePolicy` answers from now on, for every policy.
    void setCanEvaluate(bool canEvaluate,
                        std::optional<OwnerAuthenticationError> error = std::nullopt);
    void setBiometryType(BiometryType type) { biometryType_ = type; }
    void setRepliesFromBackgroundThread(bool enabled) { repliesFromBackgroundThread_ = enabled; }

    /// Every prompt shown, oldest first.
    [[nodiscard]] const std::vector<Prompt>& prompts() const { return prompts_; }
    [[nodiscard]] std::size_t promptCount() const { return prompts_.size(); }
    /// Prompts shown and not yet answered.
    [[nodiscard]] std::size_t waitingPromptCount() const { return waiting_.size(); }
    [[nodiscard]] std::size_t queuedOutcomeCount() const { return queued_.size(); }
    [[nodiscard]] std::size_t canEvaluateCount() const { return canEvaluateCount_; }
    [[nodiscard]] std::size_t contextsMade() const { return contextsMade_; }
    /// Contexts made and not yet released.
    [[nodiscard]] std::size_t liveContextCount() const { return liveContexts_; }

private:
    class Context;

    void reply(const OwnerAuthenticationContext::Reply& reply, const Outcome& outcome) const;

    bool canEvaluate_ = true;
    std::optional<OwnerAuthenticationError> canEvaluateError_;
    BiometryType biometryType_ = BiometryType::none;
    bool repliesFromBackgroundThread_ = false;

    std::deque<Outcome> queued_;
    std::deque<OwnerAuthenticationContext::Reply> waiting_;
    std::vector<Prompt> prompts_;
    std::size_t canEvaluateCount_ = 0;
    std::size_t contextsMade_ = 0;
    std::size_t liveContexts_ = 0;
};

} // namespace velmora
