#pragma once

#include "Platform/Platform.hpp"

#include <memory>

namespace velmora {

class LogindSessionEvents;
class QtPasswordPrompting;
class QtRunLoop;
class SharedAppLog;
class XdgApplicationDirectory;

/// What every Linux desktop gives Velmora, whichever server shows the windows: the run loop
/// over Qt's, the log, logind and the screen saver, XDG files, PAM behind Velmora's own
/// password prompt, and the Qt windows other than overlays. The display server's own
/// services (workspace, window list, screens, overlays, covers, input) are left for the
/// builder of that desktop to fill in.
///
///     LinuxSessionPlatform session;
///     session.platform.workspace = makeWorkspace(session.applications, session.sessionEvents);
///     installPlatform(session.platform);
struct LinuxSessionPlatform {
    LinuxSessionPlatform();

    std::shared_ptr<QtRunLoop> runLoop;
    std::shared_ptr<SharedAppLog> log;
    std::shared_ptr<LogindSessionEvents> sessionEvents;
    std::shared_ptr<XdgApplicationDirectory> applications;
    std::shared_ptr<QtPasswordPrompting> prompts;
    Platform platform;
};

} // namespace velmora
