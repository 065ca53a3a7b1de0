#include "support/ProcessActivity.hpp"

#include <filesystem>
#include <fstream>
#include <string>

namespace velmora::bench {

ProcessActivity ProcessActivity::of(int pid) {
    ProcessActivity activity;
    std::error_code error;
    for (const auto& task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        Thread thread;
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("voluntary_ctxt_switches:") ||
                line.starts_with("nonvoluntary_ctxt_switches:")) {
                thread.switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
        std::ifstream(task.path() / "schedstat") >> thread.cpuNanoseconds;
        activity.threads_[std::stoi(task.path().filename().string())] = thread;
    }
    return activity;
}

ProcessActivity::Change ProcessActivity::since(const ProcessActivity& earlier) const {
    Change change;
    for (const auto& [id, thread] : threads_) {
        const auto before = earlier.threads_.find(id);
        const Thread start = before == earlier.threads_.end() ? Thread{} : before->second;
        change.switches += thread.switches - start.switches;
        change.cpuSeconds +=
            static_cast<double>(thread.cpuNanoseconds - start.cpuNanoseconds) / 1e9;
    }
    return change;
}

} // namespace velmora::bench
