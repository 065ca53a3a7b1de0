#include "Platform/Linux/ProcessNaming.hpp"

#include <fstream>

namespace velmora {
namespace {

std::optional<std::string> commandName(ProcessId pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    if (!std::getline(file, name) || name.empty()) {
        return std::nullopt;
    }
    return name;
}

} // namespace

RunningApplication nameProcess(const ProcessWindows& process, const ApplicationDirectory& directory,
                               const std::vector<ApplicationIdentities>& protectedApplications) {
    RunningApplication app;
    app.processIdentifier = process.pid;
    app.activationPolicy =
        process.regular ? ActivationPolicy::regular : ActivationPolicy::accessory;
    std::optional<DesktopApplication> entry;
    for (const WindowIdentity& window : process.windows) {
        if (const auto* owner = owningApplication(window, protectedApplications)) {
            app.bundleIdentifier = owner->desktopId;
            entry = directory.application(owner->desktopId);
            break;
        }
    }
    for (auto window = process.windows.begin();
         !app.bundleIdentifier && !entry && window != process.windows.end(); ++window) {
        entry = directory.applicationForWindow(*window);
    }
    if (entry) {
        app.bundleIdentifier = entry->desktopId;
        app.localizedName = entry->name;
        app.bundleLocation = entry->path;
    }
    if (!app.localizedName) {
        const auto& windowClass = process.windows.front().wmClassClass;
        app.localizedName = windowClass ? windowClass : commandName(process.pid);
    }
    return app;
}

} // namespace velmora
