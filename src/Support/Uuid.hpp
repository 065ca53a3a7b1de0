#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

/// A new random (version 4) UUID in canonical upper-case form,
/// e.g. "6F9619FF-8B86-4D11-B42D-00C04FC964FF".
std::string makeUuidString();

/// The canonical upper-case form of a UUID written as 8-4-4-4-12 hexadecimal digits in
/// either case; nothing for any other text.
std::optional<std::string> canonicalUuidString(std::string_view text);

} // namespace velmora
