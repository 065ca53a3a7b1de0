#include "Platform/Platform.hpp"

#include <cstdio>
#include <cstdlib>

namespace velmora {

namespace {
Platform& storage() {
    static Platform platform;
    return platform;
}
} // namespace

void installPlatform(Platform platform) {
    storage() = std::move(platform);
}

const Platform& installedPlatform() {
    const Platform& platform = storage();
    if (!platform.runLoop) {
        std::fputs("Velmora: no platform installed before first use\n", stderr);
        std::abort();
    }
    return platform;
}

void requirePlatformServices(bool allPresent, const char* component) {
    if (!allPresent) {
        std::fprintf(stderr, "Velmora: the installed platform lacks what %s needs\n", component);
        std::abort();
    }
}

} // namespace velmora
