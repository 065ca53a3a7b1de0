#include "harness/Command.hpp"

#include <cstdio>

namespace velmora::e2e {

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return out + "'";
}

std::string outputOf(const std::vector<std::string>& argv, const Environment& environment) {
    std::string command = "env";
    for (const auto& [name, value] : environment) {
        command.append(" ").append(shellQuoted(std::string(name).append("=").append(value)));
    }
    for (const auto& word : argv) {
        command.append(" ").append(shellQuoted(word));
    }
    command += " 2>/dev/null";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe)) {
            output.append(buffer, got);
        }
        ::pclose(pipe);
    }
    return output;
}

} // namespace velmora::e2e
