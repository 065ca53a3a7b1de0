#pragma once

#include <QString>
#include <string_view>

namespace velmora {

/// A text of the portable views as Qt shows it.
[[nodiscard]] inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace velmora
