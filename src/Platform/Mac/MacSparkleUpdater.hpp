#pragma once

#include "Platform/Updater.hpp"
#include "Support/RunLoop.hpp"

#include <memory>

namespace velmora {

/// Makes the Sparkle 2 updater, looked up at run time in the bundle's Frameworks folder:
/// Sparkle.framework is loaded and its `SPUStandardUpdaterController` created without
/// starting it. Without the framework the factory yields an updater that never becomes
/// able to check, whose start reports why. Main thread only.
///
///     platform.updaterFactory = makeSparkleUpdaterFactory(runLoop);
UpdaterFactory makeSparkleUpdaterFactory(std::shared_ptr<RunLoop> runLoop);

} // namespace velmora
