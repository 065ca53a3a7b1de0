#include "Platform/Linux/ApplicationIdentities.hpp"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace velmora {

namespace {

constexpr std::string_view kSuffix = ".desktop";

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](unsigned char x, unsigned char y) {
        return std::tolower(x) == std::tolower(y);
    });
}

bool contains(const std::vector<std::string>& values, std::string_view value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

/// "org.kde.dolphin" of "org.kde.dolphin", "org.kde.dolphin.desktop" and
/// "/usr/share/applications/org.kde.dolphin.desktop".
std::string_view desktopIdOf(std::string_view file) {
    if (file.ends_with(kSuffix)) {
        file.remove_suffix(kSuffix.size());
    }
    if (const auto slash = file.rfind('/'); slash != std::string_view::npos) {
        file.remove_prefix(slash + 1);
    }
    return file;
}

std::optional<std::string> realPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        return std::nullopt;
    }
    std::string out(resolved);
    std::free(resolved);
    return out;
}

} // namespace

bool belongsTo(const WindowIdentity& window, const ApplicationIdentities& application) {
    const std::string& id = application.desktopId;
    if (id.empty()) {
        return false;
    }
    if (window.gtkApplicationId == id ||
        (window.kdeDesktopFile && desktopIdOf(*window.kdeDesktopFile) == id)) {
        return true;
    }
    for (const auto* name : {&window.wmClassClass, &window.wmClassInstance}) {
        if (*name && !(*name)->empty() &&
            (contains(application.windowClasses, **name) || equalIgnoringCase(**name, id))) {
            return true;
        }
    }
    if (window.executablePath && !application.executables.empty()) {
        const auto executable = realPath(*window.executablePath);
        return contains(application.executables, executable.value_or(*window.executablePath));
    }
    return false;
}

const ApplicationIdentities*
owningApplication(const WindowIdentity& window,
                  const std::vector<ApplicationIdentities>& applications) {
    const auto found = std::find_if(applications.begin(), applications.end(),
                                    [&](const auto& app) { return belongsTo(window, app); });
    return found == applications.end() ? nullptr : &*found;
}

std::optional<std::string> executableOf(ProcessId pid) {
    char target[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || length == static_cast<ssize_t>(sizeof target)) {
        return std::nullopt;
    }
    return std::string(target, static_cast<std::size_t>(length));
}

} // namespace velmora
