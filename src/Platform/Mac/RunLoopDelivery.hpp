#pragma once

#include "Support/RunLoop.hpp"

#include <atomic>
#include <memory>

namespace velmora {

/// Work that a system callback hands to the main queue on behalf of a registration which
/// may be cancelled before the work runs. Copies share one registration.
///
///     RunLoopDelivery delivery(runLoop);
///     // in the system's callback:
///     delivery.post([handler, app] { handler(app); });
///     // when the subscription ends:
///     delivery.cancel();   // work already posted now does nothing
///
/// `post` may be called from any thread; `cancel` belongs to the main thread.
class RunLoopDelivery {
public:
    explicit RunLoopDelivery(std::shared_ptr<RunLoop> runLoop)
        : runLoop_(std::move(runLoop)), active_(std::make_shared<std::atomic<bool>>(true)) {}

    void post(RunLoop::Task task) const {
        if (!*active_ || !task) {
            return;
        }
        runLoop_->post([active = active_, task = std::move(task)] {
            if (*active) {
                task();
            }
        });
    }

    void cancel() { *active_ = false; }
    [[nodiscard]] bool isActive() const { return *active_; }

private:
    std::shared_ptr<RunLoop> runLoop_;
    std::shared_ptr<std::atomic<bool>> active_;
};

} // namespace velmora
