#pragma once

#include <QColor>
#include <QObject>

namespace velmora {

/// The settings window's sizes, text styles and colours for the QML files: the onboarding
/// view's and the setup-complete note's layouts, and this desktop's controls, under one name.
///
///     import Velmora
///     Rectangle { width: SettingsStyle.width; radius: SettingsStyle.cardCornerRadius }
///
/// Sizes are in device-independent pixels, durations in milliseconds.
class SettingsStyle final : public QObject {
    Q_OBJECT
    Q_PROPERTY(double width READ width CONSTANT)
    Q_PROPERTY(double height READ height CONSTANT)
    Q_PROPERTY(double padding READ padding CONSTANT)
    Q_PROPERTY(double headerSpacing READ headerSpacing CONSTANT)
    Q_PROPERTY(double headerPaddingBottom READ headerPaddingBottom CONSTANT)
    Q_PROPERTY(double headerCircleDiameter READ headerCircleDiameter CONSTANT)
    Q_PROPERTY(double headerCircleOpacity READ headerCircleOpacity CONSTANT)
    Q_PROPERTY(double headerSymbolSize READ headerSymbolSize CONSTANT)
    Q_PROPERTY(double sectionSpacing READ sectionSpacing CONSTANT)
    Q_PROPERTY(double sectionItemSpacing READ sectionItemSpacing CONSTANT)
    Q_PROPERTY(double infoRowSpacing READ infoRowSpacing CONSTANT)
    Q_PROPERTY(double bottomSpacing READ bottomSpacing CONSTANT)
    Q_PROPERTY(double bottomButtonSpacing READ bottomButtonSpacing CONSTANT)
    Q_PROPERTY(double continueMinimumWidth READ continueMinimumWidth CONSTANT)
    Q_PROPERTY(double cardHeaderSpacing READ cardHeaderSpacing CONSTANT)
    Q_PROPERTY(double cardPadding READ cardPadding CONSTANT)
    Q_PROPERTY(double cardCornerRadius READ cardCornerRadius CONSTANT)
    Q_PROPERTY(double cardOutlineWidth READ cardOutlineWidth CONSTANT)
    Q_PROPERTY(double cardOutlineOpacity READ cardOutlineOpacity CONSTANT)
    Q_PROPERTY(double iconTileSize READ iconTileSize CONSTANT)
    Q_PROPERTY(double iconTileCornerRadius READ iconTileCornerRadius CONSTANT)
    Q_PROPERTY(double iconSymbolSize READ iconSymbolSize CONSTANT)
    Q_PROPERTY(double tintOpacity READ tintOpacity CONSTANT)
    Q_PROPERTY(double titleSpacing READ titleSpacing CONSTANT)
    Q_PROPERTY(double requiredBadgeFontSize READ requiredBadgeFontSize CONSTANT)
    Q_PROPERTY(double requiredBadgePaddingHorizontal READ requiredBadgePaddingHorizontal CONSTANT)
    Q_PROPERTY(double requiredBadgePaddingVertical READ requiredBadgePaddingVertical CONSTANT)
    Q_PROPERTY(double statusBadgeSpacing READ statusBadgeSpacing CONSTANT)
    Q_PROPERTY(double statusBadgePaddingHorizontal READ statusBadgePaddingHorizontal CONSTANT)
    Q_PROPERTY(double statusBadgePaddingVertical READ statusBadgePaddingVertical CONSTANT)
    Q_PROPERTY(int descriptionMaximumLines READ descriptionMaximumLines CONSTANT)
    Q_PROPERTY(double stepSpacing READ stepSpacing CONSTANT)
    Q_PROPERTY(double stepNumberWidth READ stepNumberWidth CONSTANT)
    Q_PROPERTY(double stepRowSpacing READ stepRowSpacing CONSTANT)
    Q_PROPERTY(double cardButtonSpacing READ cardButtonSpacing CONSTANT)
    Q_PROPERTY(double diagnosticsSpacing READ diagnosticsSpacing CONSTANT)
    Q_PROPERTY(double diagnosticsPadding READ diagnosticsPadding CONSTANT)
    Q_PROPERTY(double diagnosticsCornerRadius READ diagnosticsCornerRadius CONSTANT)
    Q_PROPERTY(double diagnosticsLabelWidth READ diagnosticsLabelWidth CONSTANT)
    Q_PROPERTY(double diagnosticsNoteSpacing READ diagnosticsNoteSpacing CONSTANT)
    Q_PROPERTY(double completeWidth READ completeWidth CONSTANT)
    Q_PROPERTY(double completeHeight READ completeHeight CONSTANT)
    Q_PROPERTY(double completeSpacing READ completeSpacing CONSTANT)
    Q_PROPERTY(double completeSymbolSize READ completeSymbolSize CONSTANT)
    Q_PROPERTY(int contentSwitchAnimationMs READ contentSwitchAnimationMs CONSTANT)
    Q_PROPERTY(int title3PixelSize READ title3PixelSize CONSTANT)
    Q_PROPERTY(int headlinePixelSize READ headlinePixelSize CONSTANT)
    Q_PROPERTY(int subheadlinePixelSize READ subheadlinePixelSize CONSTANT)
    Q_PROPERTY(int captionPixelSize READ captionPixelSize CONSTANT)
    Q_PROPERTY(int caption2PixelSize READ caption2PixelSize CONSTANT)
    Q_PROPERTY(int buttonHeight READ buttonHeight CONSTANT)
    Q_PROPERTY(int smallButtonHeight READ smallButtonHeight CONSTANT)
    Q_PROPERTY(int buttonPaddingHorizontal READ buttonPaddingHorizontal CONSTANT)
    Q_PROPERTY(int smallButtonPaddingHorizontal READ smallButtonPaddingHorizontal CONSTANT)
    Q_PROPERTY(int buttonCornerRadius READ buttonCornerRadius CONSTANT)
    Q_PROPERTY(int labelSpacing READ labelSpacing CONSTANT)
    Q_PROPERTY(int rowSpacing READ rowSpacing CONSTANT)
    Q_PROPERTY(QColor red READ red CONSTANT)
    Q_PROPERTY(QColor orange READ orange CONSTANT)
    Q_PROPERTY(QColor green READ green CONSTANT)
    Q_PROPERTY(QColor blue READ blue CONSTANT)
    Q_PROPERTY(QColor gray READ gray CONSTANT)
    Q_PROPERTY(QColor secondary READ secondary CONSTANT)
    Q_PROPERTY(QColor accent READ accent CONSTANT)
    // A bordered push button: a faint fill and outline of the text colour, shaded when
    // pressed and lit when hovered.
    Q_PROPERTY(double buttonFillOpacity MEMBER buttonFillOpacity_ CONSTANT)
    Q_PROPERTY(double buttonBorderOpacity MEMBER buttonBorderOpacity_ CONSTANT)
    Q_PROPERTY(QColor buttonPressedShade MEMBER buttonPressedShade_ CONSTANT)
    Q_PROPERTY(QColor buttonHoverLight MEMBER buttonHoverLight_ CONSTANT)

public:
    using QObject::QObject;

    [[nodiscard]] static double width();
    [[nodiscard]] static double height();
    [[nodiscard]] static double padding();
    [[nodiscard]] static double headerSpacing();
    [[nodiscard]] static double headerPaddingBottom();
    [[nodiscard]] static double headerCircleDiameter();
    [[nodiscard]] static double headerCircleOpacity();
    [[nodiscard]] static double headerSymbolSize();
    [[nodiscard]] static double sectionSpacing();
    [[nodiscard]] static double sectionItemSpacing();
    [[nodiscard]] static double infoRowSpacing();
    [[nodiscard]] static double bottomSpacing();
    [[nodiscard]] static double bottomButtonSpacing();
    [[nodiscard]] static double continueMinimumWidth();
    [[nodiscard]] static double cardHeaderSpacing();
    [[nodiscard]] static double cardPadding();
    [[nodiscard]] static double cardCornerRadius();
    [[nodiscard]] static double cardOutlineWidth();
    [[nodiscard]] static double cardOutlineOpacity();
    [[nodiscard]] static double iconTileSize();
    [[nodiscard]] static double iconTileCornerRadius();
    [[nodiscard]] static double iconSymbolSize();
    [[nodiscard]] static double tintOpacity();
    [[nodiscard]] static double titleSpacing();
    [[nodiscard]] static double requiredBadgeFontSize();
    [[nodiscard]] static double requiredBadgePaddingHorizontal();
    [[nodiscard]] static double requiredBadgePaddingVertical();
    [[nodiscard]] static double statusBadgeSpacing();
    [[nodiscard]] static double statusBadgePaddingHorizontal();
    [[nodiscard]] static double statusBadgePaddingVertical();
    [[nodiscard]] static int descriptionMaximumLines();
    [[nodiscard]] static double stepSpacing();
    [[nodiscard]] static double stepNumberWidth();
    [[nodiscard]] static double stepRowSpacing();
    [[nodiscard]] static double cardButtonSpacing();
    [[nodiscard]] static double diagnosticsSpacing();
    [[nodiscard]] static double diagnosticsPadding();
    [[nodiscard]] static double diagnosticsCornerRadius();
    [[nodiscard]] static double diagnosticsLabelWidth();
    [[nodiscard]] static double diagnosticsNoteSpacing();
    [[nodiscard]] static double completeWidth();
    [[nodiscard]] static double completeHeight();
    [[nodiscard]] static double completeSpacing();
    [[nodiscard]] static double completeSymbolSize();
    [[nodiscard]] static int contentSwitchAnimationMs();
    /// The desktop's text styles: title 3, headline, subheadline, caption and caption 2.
    [[nodiscard]] static int title3PixelSize() { return 17; }
    [[nodiscard]] static int headlinePixelSize() { return 15; }
    [[nodiscard]] static int subheadlinePixelSize() { return 13; }
    [[nodiscard]] static int captionPixelSize() { return 12; }
    [[nodiscard]] static int caption2PixelSize() { return 11; }
    /// The desktop's push buttons, regular and small, and the gap in a symbol's label and in
    /// a row of texts.
    [[nodiscard]] static int buttonHeight() { return 28; }
    [[nodiscard]] static int smallButtonHeight() { return 22; }
    [[nodiscard]] static int buttonPaddingHorizontal() { return 12; }
    [[nodiscard]] static int smallButtonPaddingHorizontal() { return 8; }
    [[nodiscard]] static int buttonCornerRadius() { return 6; }
    [[nodiscard]] static int labelSpacing() { return 4; }
    [[nodiscard]] static int rowSpacing() { return 8; }
    [[nodiscard]] static QColor red();
    [[nodiscard]] static QColor orange();
    [[nodiscard]] static QColor green();
    [[nodiscard]] static QColor blue();
    [[nodiscard]] static QColor gray();
    [[nodiscard]] static QColor secondary();
    [[nodiscard]] static QColor accent();

private:
    const double buttonFillOpacity_ = 0.08;
    const double buttonBorderOpacity_ = 0.12;
    const QColor buttonPressedShade_ = QColor::fromRgbF(0, 0, 0, 0.15F);
    const QColor buttonHoverLight_ = QColor::fromRgbF(1, 1, 1, 0.15F);
};

} // namespace velmora
