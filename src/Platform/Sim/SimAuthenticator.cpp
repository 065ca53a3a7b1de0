#include "Platform/Sim/SimAuthenticator.hpp"

#include <thread>

namespace velmora {

class SimAuthenticator::Context final : public OwnerAuthenticationContext {
public:
    explicit Context(std::shared_ptr<SimAuthenticator> owner) : owner_(std::move(owner)) {
        ++owner_->contextsMade_;
        ++owner_->liveContexts_;
    }
    ~Context() override { --owner_->liveContexts_; }

    Context(const Context&) = delete;
    Context& operator=(const Context&) = delete;

    void setLocalizedCancelTitle(std::string title) override { cancelTitle_ = std::move(title); }
    void setLocalizedFallbackTitle(std::string title) override {
        fallbackTitle_ = std::move(title);
    }

    bool canEvaluatePolicy(AuthenticationPolicy,
                           std::optional<OwnerAuthenticationError>* error) override {
        ++owner_->canEvaluateCount_;
        biometryType_ = owner_->biometryType_;
        if (error) {
            *error = owner_->canEvaluate_ ? std::nullopt : owner_->canEvaluateError_;
        }
        return owner_->canEvaluate_;
    }

    void evaluatePolicy(AuthenticationPolicy policy, std::string localizedReason,
                        Reply reply) override {
        owner_->prompts_.push_back(
            {std::move(localizedReason), policy, cancelTitle_, fallbackTitle_});
        if (owner_->queued_.empty()) {
            owner_->waiting_.push_back(std::move(reply));
            return;
        }
        const Outcome outcome = std::move(owner_->queued_.front());
        owner_->queued_.pop_front();
        owner_->reply(reply, outcome);
    }

    [[nodiscard]] BiometryType biometryType() const override { return biometryType_; }

private:
    std::shared_ptr<SimAuthenticator> owner_;
    std::string cancelTitle_;
    std::string fallbackTitle_;
    BiometryType biometryType_ = BiometryType::none;
};

std::unique_ptr<OwnerAuthenticationContext> SimAuthenticator::makeContext() {
    return std::make_unique<Context>(shared_from_this());
}

void SimAuthenticator::queueOutcome(Outcome outcome) {
    if (waiting_.empty()) {
        queued_.push_back(std::move(outcome));
        return;
    }
    const OwnerAuthenticationContext::Reply waiting = std::move(waiting_.front());
    waiting_.pop_front();
    reply(waiting, outcome);
}

void SimAuthenticator::setCanEvaluate(bool canEvaluate,
                                      std::optional<OwnerAuthenticationError> error) {
    canEvaluate_ = canEvaluate;
    canEvaluateError_ = std::move(error);
}

void SimAuthenticator::reply(const OwnerAuthenticationContext::Reply& reply,
                             const Outcome& outcome) const {
    if (!repliesFromBackgroundThread_) {
        reply(outcome.success, outcome.error);
        return;
    }
    std::thread replier([&] { reply(outcome.success, outcome.error); });
    replier.join();
}

} // namespace velmora
