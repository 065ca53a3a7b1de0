#pragma once

#include <string>
#include <string_view>

namespace velmora {

/// `text` with every byte that is not part of well-formed UTF-8 replaced by U+FFFD, so that
/// names read from disk can always be stored and shown.
///
///     validUtf8("Caf\xE9");   // "Caf\uFFFD"
[[nodiscard]] std::string validUtf8(std::string_view text);

} // namespace velmora
