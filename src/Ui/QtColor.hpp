#pragma once

#include "Support/Color.hpp"

#include <QColor>

namespace velmora {

/// A colour of the portable views as Qt draws it.
///
///     painter.fillRect(rect, toQColor(Color::black(0.95)));
[[nodiscard]] inline QColor toQColor(const Color& color) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue), static_cast<float>(color.alpha));
}

} // namespace velmora
