#pragma once

#include <filesystem>

namespace velmora {

/// A file installed with the program, found relative to the program's own directory so that
/// an installed tree can move; in a build tree, where its target or the sources put it.
///
///     auto helper = installedOr("../libexec/velmora/velmora-auth-helper", "/build/apps/...");
std::filesystem::path installedOr(const char* relativeToProgram, const char* buildTreePath);

} // namespace velmora
