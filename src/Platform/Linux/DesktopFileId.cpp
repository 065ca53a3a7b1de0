#include "Platform/Linux/DesktopFileId.hpp"

#include "Platform/Linux/Utf8.hpp"

#include <algorithm>

namespace velmora {

std::string desktopFileId(std::string_view relativePath) {
    constexpr std::string_view kSuffix = ".desktop";
    if (relativePath.ends_with(kSuffix)) {
        relativePath.remove_suffix(kSuffix.size());
    }
    std::string id = validUtf8(relativePath);
    std::replace(id.begin(), id.end(), '/', '-');
    return id;
}

} // namespace velmora
