#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// `bytes` as valid UTF-8: every byte sequence that is not UTF-8 becomes U+FFFD, so text
/// from files and windows can be shown and stored as JSON.
///
///     std::string name = validUtf8(entryName);
std::string validUtf8(std::string_view bytes);

} // namespace velmora
