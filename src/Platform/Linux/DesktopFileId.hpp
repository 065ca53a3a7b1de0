#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The desktop-file ID of an entry from its path below an applications directory, without
/// the ".desktop" suffix. Bytes that are not UTF-8 become U+FFFD, so the ID can be stored
/// and compared as text.
///
///     desktopFileId("kde/org.kde.dolphin.desktop");   // "kde-org.kde.dolphin"
std::string desktopFileId(std::string_view relativePath);

} // namespace velmora
