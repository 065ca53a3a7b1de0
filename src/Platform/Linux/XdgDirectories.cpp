#include "Platform/Linux/XdgDirectories.hpp"

#include <cstdlib>
#include <pwd.h>
#include <string_view>
#include <unistd.h>

namespace velmora {

namespace {

bool isAbsolute(std::string_view path) {
    return !path.empty() && path.front() == '/';
}

std::string absoluteVariable(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && isAbsolute(value) ? std::string(value) : fallback;
}

} // namespace

std::string XdgDirectories::home() {
    if (const char* value = std::getenv("HOME"); value && isAbsolute(value)) {
        return value;
    }
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) {
        return entry->pw_dir;
    }
    return "/";
}

std::string XdgDirectories::configHome() {
    return absoluteVariable("XDG_CONFIG_HOME", home() + "/.config");
}

std::string XdgDirectories::dataHome() {
    return absoluteVariable("XDG_DATA_HOME", home() + "/.local/share");
}

std::string XdgDirectories::stateHome() {
    return absoluteVariable("XDG_STATE_HOME", home() + "/.local/state");
}

std::vector<std::string> XdgDirectories::dataDirs() {
    std::vector<std::string> dirs;
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::string_view rest = value ? value : "";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const auto dir = rest.substr(0, colon);
        if (isAbsolute(dir)) {
            dirs.emplace_back(dir);
        }
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
    }
    if (dirs.empty()) {
        dirs = {"/usr/local/share", "/usr/share"};
    }
    return dirs;
}

std::vector<std::string> XdgDirectories::applicationDirs() {
    std::vector<std::string> dirs{dataHome() + "/applications"};
    for (const auto& dir : dataDirs()) {
        dirs.push_back(dir + "/applications");
    }
    return dirs;
}

} // namespace velmora
