// Feeds arbitrary bytes to the stored-list decoder: every input must be either read or
// refused with a reason, nothing may throw or crash, and whatever is read must save and read
// back to the same list.

#include "Models/ProtectedAppsCoding.hpp"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "ProtectedAppsDecoderFuzz: %s\n", what);
    std::abort();
}

bool sameEntry(const velmora::ProtectedApp& a, const velmora::ProtectedApp& b) {
    // A stored date is a double: at the far end of the accepted range it keeps about a
    // microsecond.
    constexpr auto kDatePrecision = std::chrono::microseconds{2};
    return a.id == b.id && a.bundleIdentifier == b.bundleIdentifier &&
           a.displayName == b.displayName && a.autoLockEnabled == b.autoLockEnabled &&
           a.idleTimeoutMinutes == b.idleTimeoutMinutes && a.windowClasses == b.windowClasses &&
           a.executables == b.executables &&
           std::chrono::abs(a.addedDate - b.addedDate) < kDatePrecision;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto apps = velmora::decodeProtectedApps(input, &error);
    if (!apps) {
        if (error.empty()) {
            fail("a refused list must say why");
        }
        return 0;
    }
    const auto saved = velmora::encodeProtectedApps(*apps, &error);
    if (!saved) {
        fail("a list that was read could not be saved");
    }
    const auto reread = velmora::decodeProtectedApps(*saved);
    if (!reread || reread->size() != apps->size()) {
        fail("a saved list did not read back");
    }
    for (std::size_t i = 0; i < apps->size(); ++i) {
        if (!sameEntry((*apps)[i], (*reread)[i])) {
            fail("a saved entry read back different");
        }
    }
    if (velmora::encodeProtectedApps(*reread) != saved) {
        fail("saving a list read back changed its text");
    }
    return 0;
}
