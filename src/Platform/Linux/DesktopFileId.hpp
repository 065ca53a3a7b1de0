#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// The desktop-file ID of an entry from its path below an applications directory, without
/// the ".desktop" suffix: "kde/org.kde.dolphin.desktop" gives "kde-org.kde.dolphin". Bytes
/// that are not UTF-8 become U+FFFD, so the ID can be stored and compared as text.
std::string desktopFileId(std::string_view relativePath);

} // namespace velmora
