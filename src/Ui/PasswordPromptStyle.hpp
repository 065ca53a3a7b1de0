#pragma once

#include <QColor>
#include <QObject>

namespace velmora {

/// The password prompt's sizes and shades for its QML file; its brand colours, type sizes,
/// secondary text and press feedback are the lock card's.
///
///     import Velmora
///     Rectangle { implicitWidth: PasswordPromptStyle.width }
///
/// Sizes are in device-independent pixels; opacities apply to the palette's colours.
class PasswordPromptStyle final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

private:
    Q_PROPERTY(double width MEMBER width_ CONSTANT)
    const double width_ = 360;
    Q_PROPERTY(double padding MEMBER padding_ CONSTANT)
    const double padding_ = 20;
    Q_PROPERTY(double spacing MEMBER spacing_ CONSTANT)
    const double spacing_ = 12;
    Q_PROPERTY(double badgeDiameter MEMBER badgeDiameter_ CONSTANT)
    const double badgeDiameter_ = 40;
    Q_PROPERTY(double badgeSymbolSize MEMBER badgeSymbolSize_ CONSTANT)
    const double badgeSymbolSize_ = 18;
    Q_PROPERTY(double titleSpacing MEMBER titleSpacing_ CONSTANT)
    const double titleSpacing_ = 2;
    // A reason longer than this is cut with an ellipsis, never hidden.
    Q_PROPERTY(int reasonMaximumLines MEMBER reasonMaximumLines_ CONSTANT)
    const int reasonMaximumLines_ = 3;
    // Kept as tall when empty, so that a message does not move the field.
    Q_PROPERTY(double messageLeading MEMBER messageLeading_ CONSTANT)
    const double messageLeading_ = 4;
    Q_PROPERTY(QColor messageColor MEMBER messageColor_ CONSTANT)
    const QColor messageColor_ = QColor(0xc0, 0x39, 0x2b);
    Q_PROPERTY(double fieldHeight MEMBER fieldHeight_ CONSTANT)
    const double fieldHeight_ = 32;
    Q_PROPERTY(double fieldCornerRadius MEMBER fieldCornerRadius_ CONSTANT)
    const double fieldCornerRadius_ = 4;
    Q_PROPERTY(double fieldTextInset MEMBER fieldTextInset_ CONSTANT)
    const double fieldTextInset_ = 8;
    Q_PROPERTY(double outlineWidth MEMBER outlineWidth_ CONSTANT)
    const double outlineWidth_ = 1;
    Q_PROPERTY(double focusedOutlineWidth MEMBER focusedOutlineWidth_ CONSTANT)
    const double focusedOutlineWidth_ = 2;
    Q_PROPERTY(double placeholderOpacity MEMBER placeholderOpacity_ CONSTANT)
    const double placeholderOpacity_ = 0.45;
    Q_PROPERTY(double disabledOpacity MEMBER disabledOpacity_ CONSTANT)
    const double disabledOpacity_ = 0.5;
    Q_PROPERTY(double buttonSpacing MEMBER buttonSpacing_ CONSTANT)
    const double buttonSpacing_ = 10;
    Q_PROPERTY(double buttonWidth MEMBER buttonWidth_ CONSTANT)
    const double buttonWidth_ = 96;
    Q_PROPERTY(double buttonHeight MEMBER buttonHeight_ CONSTANT)
    const double buttonHeight_ = 32;
};

} // namespace velmora
