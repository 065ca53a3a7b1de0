#include "InstalledFile.hpp"

#include <QCoreApplication>

namespace velmora {

std::filesystem::path installedOr(const char* relativeToProgram, const char* buildTreePath) {
    const std::filesystem::path installed =
        std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) /
        relativeToProgram;
    if (std::filesystem::exists(installed)) {
        return installed.lexically_normal();
    }
    return buildTreePath;
}

} // namespace velmora
