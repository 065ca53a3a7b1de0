#pragma once

#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace velmora {

/// The platform's own programs that come to the front on the owner's behalf. None of them is
/// ever the application to return to, and input to them counts for the protected application
/// last in use.
///
///     if (agents.isAgent(front)) { ... }
struct SystemAgents {
    /// Those that show the system's prompts, such as its authentication dialog.
    std::set<std::string, std::less<>> prompts;
    /// The rest of the desktop's shell: dock or panels, launcher, notifications.
    std::set<std::string, std::less<>> shell;
    /// The file manager, where it shows other programs' open and save panels; empty where
    /// those panels belong to the program itself.
    std::string fileManager;

    [[nodiscard]] bool isAgent(std::string_view id) const {
        return prompts.contains(id) || shell.contains(id);
    }
    [[nodiscard]] bool isFileManager(std::string_view id) const {
        return !fileManager.empty() && id == fileManager;
    }
};

} // namespace velmora
