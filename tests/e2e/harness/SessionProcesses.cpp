#include "harness/SessionProcesses.hpp"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace velmora::e2e {

std::vector<pid_t> sessionProcesses(const std::string& name, const std::string& home) {
    const std::string wanted = "HOME=" + home;
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::string comm;
        std::getline(std::ifstream(entry.path() / "comm"), comm);
        if (comm != name) {
            continue;
        }
        // A process that has ended shows no environment.
        std::ifstream environ(entry.path() / "environ", std::ios::binary);
        const std::string variables{std::istreambuf_iterator<char>(environ), {}};
        for (std::size_t at = 0; at < variables.size();) {
            const std::size_t end = std::min(variables.find('\0', at), variables.size());
            if (variables.compare(at, end - at, wanted) == 0) {
                found.push_back(static_cast<pid_t>(std::stoi(pid)));
                break;
            }
            at = end + 1;
        }
    }
    return found;
}

} // namespace velmora::e2e
