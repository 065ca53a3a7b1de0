#include "support/ProcessMemory.hpp"

#include <fstream>
#include <sstream>

namespace velmora::bench {

std::map<std::string, long> memoryStatus(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::map<std::string, long> fields;
    for (std::string line; std::getline(status, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        std::istringstream value(line.substr(colon + 1));
        long kilobytes = 0;
        if (value >> kilobytes) {
            fields[line.substr(0, colon)] = kilobytes;
        }
    }
    return fields;
}

} // namespace velmora::bench
