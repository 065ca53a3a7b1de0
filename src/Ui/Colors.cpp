#include "Ui/Colors.hpp"

namespace velmora {

QColor Colors::tinted(const QColor& color, double opacity) {
    QColor seen = color;
    seen.setAlphaF(static_cast<float>(color.alphaF() * opacity));
    return seen;
}

} // namespace velmora
