#pragma once

#include "Support/MonotonicClock.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>

namespace velmora {

/// A main queue on virtual time, for tests and the simulator.
///
///     ManualRunLoop loop;
///     loop.post(work);
///     loop.runUntilIdle();          // runs `work` and whatever it posts; time stands still
///     loop.advance(Seconds{2.5});   // fires every timer due in the next 2.5 s, in time order
///
/// It is also the clock the components see: `now()` and `nanoseconds()` move only through
/// `advance`. `post` is safe from any thread; everything else belongs to the main thread.
class ManualRunLoop final : public RunLoop, public TimeProviding, public MonotonicClock {
public:
    /// 2025-01-01T00:00:00Z: a fixed start, so runs are reproducible.
    static TimePoint defaultStart();

    explicit ManualRunLoop(TimePoint start = defaultStart());

    void post(Task task) override;
    TimerHandle after(Seconds delay, Task task) override;
    TimerHandle every(Seconds interval, Task task) override;

    [[nodiscard]] TimePoint now() const override;
    [[nodiscard]] std::uint64_t nanoseconds() const override;

    /// Runs posted tasks and timers already due until none is left. Returns how many ran.
    std::size_t runUntilIdle();
    /// Moves time forward by `duration`, stopping at each due timer occurrence so that it
    /// sees its own "now", and running the work each one causes. Returns how many
    /// tasks and timer firings ran.
    std::size_t advance(Seconds duration);

    [[nodiscard]] std::size_t pendingTaskCount() const;
    /// Timers that have not been invalidated and will still fire.
    [[nodiscard]] std::size_t activeTimerCount() const;

private:
    struct Timer {
        std::shared_ptr<std::atomic<bool>> valid;
        Task task;
        std::optional<TimePoint::duration> repeatInterval;
    };
    using TimerKey = std::pair<TimePoint, std::uint64_t>;

    TimerHandle schedule(TimePoint fireAt, Task task, std::optional<TimePoint::duration> repeat);
    std::optional<Task> takeTask();
    bool fireNextTimerDueBy(TimePoint limit);
    void dropInvalidTimers();

    TimePoint start_;
    TimePoint now_;
    mutable std::mutex queueMutex_;
    std::deque<Task> queue_;
    std::map<TimerKey, Timer> timers_;
    std::uint64_t nextTimerSequence_ = 0;
};

} // namespace velmora
