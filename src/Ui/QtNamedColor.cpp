#include "Ui/QtNamedColor.hpp"

#include <QGuiApplication>
#include <QPalette>

namespace velmora {

namespace {

QColor text(float alpha) {
    QColor color = QGuiApplication::palette().color(QPalette::Active, QPalette::WindowText);
    color.setAlphaF(alpha);
    return color;
}

} // namespace

QColor toQColor(NamedColor color) {
    switch (color) {
    case NamedColor::primary:
        return text(1.0F);
    case NamedColor::secondary:
        return text(0.6F);
    case NamedColor::tertiary:
        return text(0.35F);
    case NamedColor::accent:
        return QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
    case NamedColor::red:
        return QColor(255, 59, 48);
    case NamedColor::orange:
        return QColor(255, 149, 0);
    case NamedColor::yellow:
        return QColor(255, 204, 0);
    case NamedColor::green:
        return QColor(52, 199, 89);
    case NamedColor::blue:
        return QColor(0, 122, 255);
    case NamedColor::gray:
        break;
    }
    return QColor(142, 142, 147);
}

} // namespace velmora
