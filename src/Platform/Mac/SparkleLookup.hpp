#pragma once

#include <string>

namespace velmora {

/// Where finding the Sparkle updater in the program's bundle stopped.
enum class SparkleLookupFailure {
    /// No Sparkle.framework in the bundle's Frameworks folder.
    frameworkMissing,
    /// The framework is there but could not be loaded.
    frameworkNotLoaded,
    /// Loaded, but it has no standard updater controller class.
    controllerClassMissing,
    /// The controller class exists but did not answer as expected.
    controllerUnusable,
};

/// Why no update check is possible, for the one line that reports a failed start.
///
///     describe(SparkleLookupFailure::frameworkMissing, "/Applications/Velmora.app/...")
std::string describe(SparkleLookupFailure failure, const std::string& detail);

} // namespace velmora
