#include "harness/SessionProcesses.hpp"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <sys/prctl.h>
#include <unistd.h>

namespace velmora::e2e {

void adoptOrphans() {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
}

std::vector<pid_t> sessionProcesses(const std::string& name) {
    struct Process {
        pid_t parent;
        std::string name;
    };
    std::map<pid_t, Process> live;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // "pid (name) state ppid ...": the name may hold anything, so read from the last ')'.
        const auto open = line.find('(');
        const auto close = line.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open) {
            continue;
        }
        std::istringstream rest(line.substr(close + 1));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        if (state != 'Z' && state != 'X') {
            live[static_cast<pid_t>(std::stoi(pid))] = {parent,
                                                        line.substr(open + 1, close - open - 1)};
        }
    }
    std::vector<pid_t> found;
    for (const auto& [pid, process] : live) {
        if (process.name != name) {
            continue;
        }
        for (pid_t above = process.parent; live.contains(above); above = live[above].parent) {
            if (above == ::getpid()) {
                found.push_back(pid);
                break;
            }
        }
    }
    return found;
}

std::string xwaylandDisplay() {
    // Compositors start it with the display they chose first on its command line.
    const auto xwayland = sessionProcesses("Xwayland");
    if (xwayland.empty()) {
        return {};
    }
    std::ifstream arguments("/proc/" + std::to_string(xwayland.front()) + "/cmdline");
    std::string program, display;
    std::getline(arguments, program, '\0');
    std::getline(arguments, display, '\0');
    return display;
}

} // namespace velmora::e2e
