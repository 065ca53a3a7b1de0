#pragma once

#include <map>

namespace velmora::bench {

/// What the threads of a process have done so far: context switches (each a wake-up, or a
/// preemption) and CPU time, counted per thread so that a thread ending between two looks
/// takes away only what it did since the first.
class ProcessActivity {
public:
    /// From /proc/PID/task/*/status and /proc/PID/task/*/schedstat: the scheduler's own
    /// nanoseconds, not the clock ticks of /proc/PID/stat, which are too coarse for a few
    /// milliseconds of work.
    static ProcessActivity of(int pid);

    struct Change {
        long switches = 0;
        double cpuSeconds = 0;
    };
    /// What the threads alive now did since `earlier`; threads born since count whole.
    [[nodiscard]] Change since(const ProcessActivity& earlier) const;

private:
    struct Thread {
        long switches = 0;
        long long cpuNanoseconds = 0;
    };
    std::map<int, Thread> threads_;
};

} // namespace velmora::bench
