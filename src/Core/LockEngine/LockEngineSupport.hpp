#pragma once

// Small pieces shared by the lock engine's source files; not for use elsewhere.

#include <iostream>
#include <string_view>

namespace velmora::lockengine {

inline const char* boolText(bool value) {
    return value ? "true" : "false";
}

/// One "[Brevane] ..." diagnostic line on standard output.
inline void printDiagnostic(std::string_view text) {
    std::cout << "[Brevane] " << text << std::endl;
}

} // namespace velmora::lockengine
