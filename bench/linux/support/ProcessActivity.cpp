#include "support/ProcessActivity.hpp"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace velmora::bench {

ProcessActivity ProcessActivity::of(int pid) {
    ProcessActivity activity;
    const std::filesystem::path process = "/proc/" + std::to_string(pid);
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator(process / "task", error)) {
        std::ifstream status(task.path() / "status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with("voluntary_ctxt_switches:") ||
                line.starts_with("nonvoluntary_ctxt_switches:")) {
                activity.switches += std::stol(line.substr(line.find(':') + 1));
            }
        }
    }
    // utime and stime, the 14th and 15th fields, after the command name in parentheses.
    std::ifstream stat(process / "stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index >= 14) {
            ticks += std::stol(field);
        }
    }
    activity.cpuSeconds = static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
    return activity;
}

} // namespace velmora::bench
