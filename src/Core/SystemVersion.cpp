#include "Core/SystemVersion.hpp"

#include <fstream>
#include <sstream>
#ifdef __APPLE__
#include <sys/sysctl.h>
#endif

namespace velmora {

namespace {

#ifdef __APPLE__
std::string kernelText(const char* name) {
    char text[256] = {};
    std::size_t size = sizeof text - 1;
    return sysctlbyname(name, text, &size, nullptr, 0) == 0 ? std::string(text) : std::string();
}
#else
std::string readFile(const char* path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
#endif

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) + 1 - first);
}

/// An os-release value: shell-style, optionally quoted, with backslash escapes.
std::string unquoted(std::string_view value) {
    value = trimmed(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            ++i;
        }
        out += value[i];
    }
    return out;
}

std::string osReleaseValue(std::string_view osRelease, std::string_view key) {
    std::istringstream lines{std::string(osRelease)};
    for (std::string line; std::getline(lines, line);) {
        const std::string_view view = trimmed(line);
        if (view.size() > key.size() && view.starts_with(key) && view[key.size()] == '=') {
            return unquoted(view.substr(key.size() + 1));
        }
    }
    return {};
}

} // namespace

std::string systemVersionFrom(std::string_view osRelease, std::string_view kernelRelease) {
    std::string name = osReleaseValue(osRelease, "PRETTY_NAME");
    if (name.empty()) {
        name = osReleaseValue(osRelease, "NAME");
        if (const auto version = osReleaseValue(osRelease, "VERSION"); !version.empty()) {
            name += name.empty() ? version : " " + version;
        }
    }
    if (name.empty()) {
        name = "Linux";
    }
    if (const auto kernel = trimmed(kernelRelease); !kernel.empty()) {
        name += ", kernel ";
        name += kernel;
    }
    return name;
}

std::string currentSystemVersion() {
#ifdef __APPLE__
    // Worded as the system's own process information words it.
    return "Version " + kernelText("kern.osproductversion") + " (Build " +
           kernelText("kern.osversion") + ")";
#else
    std::string osRelease = readFile("/etc/os-release");
    if (osRelease.empty()) {
        osRelease = readFile("/usr/lib/os-release");
    }
    return systemVersionFrom(osRelease, readFile("/proc/sys/kernel/osrelease"));
#endif
}

} // namespace velmora
