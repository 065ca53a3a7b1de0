#pragma once

namespace velmora::bench {

/// What all threads of a process have done so far: context switches (each a wake-up, or a
/// preemption) and CPU time.
struct ProcessActivity {
    long switches = 0;
    double cpuSeconds = 0;

    /// From /proc/PID/task/*/status and /proc/PID/stat.
    static ProcessActivity of(int pid);
};

} // namespace velmora::bench
