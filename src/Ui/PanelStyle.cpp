#include "Ui/PanelStyle.hpp"

namespace velmora {

QColor PanelStyle::color(NamedColor name) {
    switch (name) {
    case NamedColor::primary:
        return Qt::white;
    case NamedColor::secondary:
        return QColor::fromRgbF(1, 1, 1, 0.55F);
    case NamedColor::tertiary:
        return QColor::fromRgbF(1, 1, 1, 0.3F);
    case NamedColor::accent:
        return toQColor(ViewPalette::accent);
    case NamedColor::red:
        return {255, 69, 58};
    case NamedColor::orange:
        return {255, 159, 10};
    case NamedColor::yellow:
        return {255, 214, 10};
    case NamedColor::green:
        return {50, 215, 75};
    case NamedColor::blue:
        return {10, 132, 255};
    case NamedColor::gray:
        break;
    }
    return {152, 152, 157};
}

} // namespace velmora
