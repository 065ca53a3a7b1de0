#pragma once

#include "Platform/HostApplication.hpp"

#include <functional>
#include <memory>

namespace velmora {

/// How an application object settles a request to end the program: the delegate is asked;
/// `later` keeps the request pending until the reply; on yes the delegate hears
/// `applicationWillTerminate` and `end` runs, once. Requests while one is pending, or after
/// the end, are dropped.
///
///     TerminationNegotiation termination([] { QCoreApplication::quit(); });
///     termination.request(delegate);          // from HostApplication::terminate()
///     termination.reply(true, delegate);      // from replyToApplicationShouldTerminate
class TerminationNegotiation {
public:
    explicit TerminationNegotiation(std::function<void()> end) : end_(std::move(end)) {}

    void request(const std::weak_ptr<ApplicationDelegate>& delegate);
    void reply(bool shouldTerminate, const std::weak_ptr<ApplicationDelegate>& delegate);

    [[nodiscard]] bool isPending() const { return pending_; }
    [[nodiscard]] bool hasEnded() const { return ended_; }

private:
    void finish(const std::weak_ptr<ApplicationDelegate>& delegate);

    std::function<void()> end_;
    bool pending_ = false;
    bool ended_ = false;
};

} // namespace velmora
