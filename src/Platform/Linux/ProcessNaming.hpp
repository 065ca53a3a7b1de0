#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Linux/ApplicationIdentities.hpp"
#include "Platform/WorkspaceProviding.hpp"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

/// What a process's windows say of it.
struct ProcessWindows {
    ProcessId pid = 0;
    /// Its windows' identities, the front one first; never empty.
    std::vector<WindowIdentity> windows;
    /// Whether one of them is a normal window rather than a panel or a dock.
    bool regular = false;
};

/// Names a running process after its windows, the same way on every Linux desktop: as the
/// protected application whose rules name one of them, so that no other desktop entry can
/// claim them away; else as the installed application of the first window the directory
/// knows; else by its front window's class, or its program's name.
///
///     RunningApplication app = nameProcess({pid, identities, true}, directory, protectedApps);
[[nodiscard]] RunningApplication
nameProcess(const ProcessWindows& process, const ApplicationDirectory& directory,
            const std::vector<ApplicationIdentities>& protectedApplications);

} // namespace velmora
