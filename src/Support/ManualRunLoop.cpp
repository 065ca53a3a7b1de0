#include "Support/ManualRunLoop.hpp"

#include <algorithm>

namespace velmora {

namespace {
// A repeating timer with no interval would never let time move on.
constexpr auto kMinimumRepeatInterval = std::chrono::milliseconds(1);
} // namespace

TimePoint ManualRunLoop::defaultStart() {
    return TimePoint{std::chrono::seconds{1735689600}};
}

ManualRunLoop::ManualRunLoop(TimePoint start) : start_(start), now_(start) {}

void ManualRunLoop::post(Task task) {
    std::lock_guard lock(queueMutex_);
    queue_.push_back(std::move(task));
}

TimerHandle ManualRunLoop::after(Seconds delay, Task task) {
    return schedule(now_ + toClockDuration(std::max(delay, Seconds{0})), std::move(task),
                    std::nullopt);
}

TimerHandle ManualRunLoop::every(Seconds interval, Task task) {
    const auto step =
        std::max<TimePoint::duration>(toClockDuration(interval), kMinimumRepeatInterval);
    return schedule(now_ + step, std::move(task), step);
}

TimerHandle ManualRunLoop::schedule(TimePoint fireAt, Task task,
                                    std::optional<TimePoint::duration> repeat) {
    auto valid = std::make_shared<std::atomic<bool>>(true);
    timers_.emplace(TimerKey{fireAt, nextTimerSequence_++}, Timer{valid, std::move(task), repeat});
    return TimerHandle(valid);
}

TimePoint ManualRunLoop::now() const {
    return now_;
}

std::uint64_t ManualRunLoop::nanoseconds() const {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now_ - start_).count());
}

std::optional<RunLoop::Task> ManualRunLoop::takeTask() {
    std::lock_guard lock(queueMutex_);
    if (queue_.empty()) {
        return std::nullopt;
    }
    Task task = std::move(queue_.front());
    queue_.pop_front();
    return task;
}

void ManualRunLoop::dropInvalidTimers() {
    std::erase_if(timers_, [](const auto& entry) { return !entry.second.valid->load(); });
}

bool ManualRunLoop::fireNextTimerDueBy(TimePoint limit) {
    dropInvalidTimers();
    if (timers_.empty() || timers_.begin()->first.first > limit) {
        return false;
    }
    auto node = timers_.extract(timers_.begin());
    Timer& timer = node.mapped();
    now_ = std::max(now_, node.key().first);
    if (timer.repeatInterval) {
        // Rescheduled before it runs, so the task itself may invalidate it.
        timers_.emplace(TimerKey{node.key().first + *timer.repeatInterval, nextTimerSequence_++},
                        Timer{timer.valid, timer.task, timer.repeatInterval});
    } else {
        timer.valid->store(false);
    }
    timer.task();
    return true;
}

std::size_t ManualRunLoop::runUntilIdle() {
    std::size_t ran = 0;
    for (;;) {
        if (auto task = takeTask()) {
            (*task)();
            ++ran;
            continue;
        }
        if (fireNextTimerDueBy(now_)) {
            ++ran;
            continue;
        }
        return ran;
    }
}

std::size_t ManualRunLoop::advance(Seconds duration) {
    const TimePoint target = now_ + toClockDuration(std::max(duration, Seconds{0}));
    std::size_t ran = runUntilIdle();
    while (fireNextTimerDueBy(target)) {
        ++ran;
        ran += runUntilIdle();
    }
    now_ = target;
    return ran + runUntilIdle();
}

std::size_t ManualRunLoop::pendingTaskCount() const {
    std::lock_guard lock(queueMutex_);
    return queue_.size();
}

std::size_t ManualRunLoop::activeTimerCount() const {
    return static_cast<std::size_t>(
        std::count_if(timers_.begin(), timers_.end(),
                      [](const auto& entry) { return entry.second.valid->load(); }));
}

} // namespace velmora
