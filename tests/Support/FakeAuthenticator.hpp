#pragma once

#include "Services/AuthenticationProviding.hpp"
#include "Support/RunLoop.hpp"

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace velmora::testing {

/// Stands in for the authentication manager in callers' tests: records each reason and
/// answers with the results the test queues, posted to the run loop like the real one.
///
///     FakeAuthenticator auth(loop);
///     auth.queueResult(AuthResult::failure(AuthError::userCancelled()));
///     engine.handleUnlockTapped(target);   // asks `auth`
///     loop->runUntilIdle();                // the engine hears "cancelled"
///
/// A request with nothing queued waits until a result is queued.
class FakeAuthenticator final : public AuthenticationProviding {
public:
    explicit FakeAuthenticator(std::shared_ptr<RunLoop> mainLoop)
        : mainLoop_(std::move(mainLoop)) {}

    void authenticate(std::string reason, Completion completion) override {
        reasons.push_back(std::move(reason));
        if (queued_.empty()) {
            waiting_.push_back(std::move(completion));
            return;
        }
        deliver(std::move(completion), queued_.front());
        queued_.pop_front();
    }

    /// Answers the oldest waiting request, or keeps the result for the next one.
    void queueResult(AuthResult result) {
        if (waiting_.empty()) {
            queued_.push_back(std::move(result));
            return;
        }
        deliver(std::move(waiting_.front()), std::move(result));
        waiting_.pop_front();
    }

    /// Every reason asked for, oldest first.
    std::vector<std::string> reasons;

private:
    void deliver(Completion completion, AuthResult result) {
        mainLoop_->post([completion = std::move(completion), result = std::move(result)] {
            completion(result);
        });
    }

    std::shared_ptr<RunLoop> mainLoop_;
    std::deque<AuthResult> queued_;
    std::deque<Completion> waiting_;
};

} // namespace velmora::testing
