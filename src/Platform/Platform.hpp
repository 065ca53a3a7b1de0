#pragma once

#include "Platform/Updater.hpp"
#include "Support/MonotonicClock.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <memory>

namespace velmora {

/// The services of the desktop the program runs on, chosen once at start-up (the simulated
/// desktop, or a real backend). The process-wide instances (`AppState::shared()`, ...) take
/// their collaborators from here; tests pass collaborators explicitly instead.
struct Platform {
    std::shared_ptr<RunLoop> runLoop;
    std::shared_ptr<TimeProviding> timeProvider;
    std::shared_ptr<MonotonicClock> monotonicClock;
    UpdaterFactory updaterFactory;
};

/// Installs the platform. Call once, before the first process-wide instance is created.
void installPlatform(Platform platform);

/// The installed platform. Aborts with a message if none was installed: a component that
/// reaches for a process-wide instance before start-up is a programming error.
const Platform& installedPlatform();

} // namespace velmora
