#include "Platform/TerminationNegotiation.hpp"

namespace velmora {

void TerminationNegotiation::request(const std::weak_ptr<ApplicationDelegate>& delegate) {
    if (ended_ || pending_) {
        return;
    }
    const auto live = delegate.lock();
    switch (live ? live->applicationShouldTerminate() : TerminateReply::now) {
    case TerminateReply::now:
        finish(delegate);
        break;
    case TerminateReply::later:
        pending_ = true;
        break;
    case TerminateReply::cancel:
        break;
    }
}

void TerminationNegotiation::reply(bool shouldTerminate,
                                   const std::weak_ptr<ApplicationDelegate>& delegate) {
    if (!pending_) {
        return;
    }
    pending_ = false;
    if (shouldTerminate) {
        finish(delegate);
    }
}

void TerminationNegotiation::finish(const std::weak_ptr<ApplicationDelegate>& delegate) {
    ended_ = true;
    if (const auto live = delegate.lock()) {
        live->applicationWillTerminate();
    }
    end_();
}

} // namespace velmora
