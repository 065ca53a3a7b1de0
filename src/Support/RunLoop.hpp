#pragma once

#include "Support/Time.hpp"

#include <atomic>
#include <functional>
#include <memory>

namespace velmora {

/// Cancels a timer. Copies share the timer; invalidating any copy stops it for good.
/// A default-constructed handle refers to no timer.
class TimerHandle {
public:
    TimerHandle() = default;
    explicit TimerHandle(std::shared_ptr<std::atomic<bool>> valid) : valid_(std::move(valid)) {}

    void invalidate() {
        if (valid_) {
            valid_->store(false);
        }
    }
    [[nodiscard]] bool isValid() const { return valid_ && valid_->load(); }

private:
    std::shared_ptr<std::atomic<bool>> valid_;
};

/// The main queue: every piece of work that runs "later on the main thread" goes through it.
///
///     runLoop.post(ifAlive(weak_from_this(), [](Engine& self) { self.step(); }));
///     TimerHandle t = runLoop.every(Seconds{1}, [] { tick(); });
///     t.invalidate();
///
/// `post` may be called from any thread; the tasks run on the main thread in FIFO order,
/// after the work that is running now. Timers are created and invalidated on the main thread.
class RunLoop {
public:
    using Task = std::function<void()>;

    virtual ~RunLoop() = default;

    virtual void post(Task task) = 0;
    /// Runs `task` once, `delay` from now.
    virtual TimerHandle after(Seconds delay, Task task) = 0;
    /// Runs `task` every `interval`, first `interval` from now, until invalidated.
    virtual TimerHandle every(Seconds interval, Task task) = 0;
};

} // namespace velmora
