#pragma once

#include "Views/NamedColor.hpp"

#include <QColor>

namespace velmora {

/// A named colour of the portable views on this desktop: the text colours and the accent
/// follow the application palette, the system colours are fixed hues that read on light and
/// dark windows alike.
///
///     label.setColor(toQColor(NamedColor::orange));
[[nodiscard]] QColor toQColor(NamedColor color);

} // namespace velmora
