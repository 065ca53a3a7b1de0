#pragma once

#include "Ui/DesktopTextStyles.hpp"
#include "Ui/QtNamedColor.hpp"
#include "Views/MainContentViewStyle.hpp"
#include "Views/PermissionsViewStyle.hpp"

#include <QColor>
#include <QObject>
#include <cmath>

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

public:
    using QObject::QObject;

private:
    using Permissions = PermissionsViewStyle;
    using Complete = MainContentViewStyle;

    // Each value is a const member that QML reads through moc; CONSTANT keeps moc from
    // generating a write.

    // The onboarding view's layout.
    Q_PROPERTY(double width MEMBER width_ CONSTANT)
    const double width_ = Permissions::width;
    Q_PROPERTY(double height MEMBER height_ CONSTANT)
    const double height_ = Permissions::height;
    Q_PROPERTY(double padding MEMBER padding_ CONSTANT)
    const double padding_ = Permissions::padding;
    Q_PROPERTY(double headerSpacing MEMBER headerSpacing_ CONSTANT)
    const double headerSpacing_ = Permissions::headerSpacing;
    Q_PROPERTY(double headerPaddingBottom MEMBER headerPaddingBottom_ CONSTANT)
    const double headerPaddingBottom_ = Permissions::headerPaddingBottom;
    Q_PROPERTY(double headerCircleDiameter MEMBER headerCircleDiameter_ CONSTANT)
    const double headerCircleDiameter_ = Permissions::headerCircleDiameter;
    Q_PROPERTY(double headerCircleOpacity MEMBER headerCircleOpacity_ CONSTANT)
    const double headerCircleOpacity_ = Permissions::headerCircleOpacity;
    Q_PROPERTY(double headerSymbolSize MEMBER headerSymbolSize_ CONSTANT)
    const double headerSymbolSize_ = Permissions::headerSymbolSize;
    Q_PROPERTY(double sectionSpacing MEMBER sectionSpacing_ CONSTANT)
    const double sectionSpacing_ = Permissions::sectionSpacing;
    Q_PROPERTY(double sectionItemSpacing MEMBER sectionItemSpacing_ CONSTANT)
    const double sectionItemSpacing_ = Permissions::sectionItemSpacing;
    Q_PROPERTY(double infoRowSpacing MEMBER infoRowSpacing_ CONSTANT)
    const double infoRowSpacing_ = Permissions::infoRowSpacing;
    Q_PROPERTY(double bottomSpacing MEMBER bottomSpacing_ CONSTANT)
    const double bottomSpacing_ = Permissions::bottomSpacing;
    Q_PROPERTY(double bottomButtonSpacing MEMBER bottomButtonSpacing_ CONSTANT)
    const double bottomButtonSpacing_ = Permissions::bottomButtonSpacing;
    Q_PROPERTY(double continueMinimumWidth MEMBER continueMinimumWidth_ CONSTANT)
    const double continueMinimumWidth_ = Permissions::continueMinimumWidth;
    Q_PROPERTY(double cardHeaderSpacing MEMBER cardHeaderSpacing_ CONSTANT)
    const double cardHeaderSpacing_ = Permissions::cardHeaderSpacing;
    Q_PROPERTY(double cardPadding MEMBER cardPadding_ CONSTANT)
    const double cardPadding_ = Permissions::cardPadding;
    Q_PROPERTY(double cardCornerRadius MEMBER cardCornerRadius_ CONSTANT)
    const double cardCornerRadius_ = Permissions::cardCornerRadius;
    Q_PROPERTY(double cardOutlineWidth MEMBER cardOutlineWidth_ CONSTANT)
    const double cardOutlineWidth_ = Permissions::cardOutlineWidth;
    Q_PROPERTY(double cardOutlineOpacity MEMBER cardOutlineOpacity_ CONSTANT)
    const double cardOutlineOpacity_ = Permissions::cardOutlineOpacity;
    Q_PROPERTY(double iconTileSize MEMBER iconTileSize_ CONSTANT)
    const double iconTileSize_ = Permissions::iconTileSize;
    Q_PROPERTY(double iconTileCornerRadius MEMBER iconTileCornerRadius_ CONSTANT)
    const double iconTileCornerRadius_ = Permissions::iconTileCornerRadius;
    Q_PROPERTY(double iconSymbolSize MEMBER iconSymbolSize_ CONSTANT)
    const double iconSymbolSize_ = Permissions::iconSymbolSize;
    Q_PROPERTY(double tintOpacity MEMBER tintOpacity_ CONSTANT)
    const double tintOpacity_ = Permissions::tintOpacity;
    Q_PROPERTY(double titleSpacing MEMBER titleSpacing_ CONSTANT)
    const double titleSpacing_ = Permissions::titleSpacing;
    Q_PROPERTY(double requiredBadgeFontSize MEMBER requiredBadgeFontSize_ CONSTANT)
    const double requiredBadgeFontSize_ = Permissions::requiredBadgeFontSize;
    Q_PROPERTY(
        double requiredBadgePaddingHorizontal MEMBER requiredBadgePaddingHorizontal_ CONSTANT)
    const double requiredBadgePaddingHorizontal_ = Permissions::requiredBadgePaddingHorizontal;
    Q_PROPERTY(double requiredBadgePaddingVertical MEMBER requiredBadgePaddingVertical_ CONSTANT)
    const double requiredBadgePaddingVertical_ = Permissions::requiredBadgePaddingVertical;
    Q_PROPERTY(double statusBadgeSpacing MEMBER statusBadgeSpacing_ CONSTANT)
    const double statusBadgeSpacing_ = Permissions::statusBadgeSpacing;
    Q_PROPERTY(double statusBadgePaddingHorizontal MEMBER statusBadgePaddingHorizontal_ CONSTANT)
    const double statusBadgePaddingHorizontal_ = Permissions::statusBadgePaddingHorizontal;
    Q_PROPERTY(double statusBadgePaddingVertical MEMBER statusBadgePaddingVertical_ CONSTANT)
    const double statusBadgePaddingVertical_ = Permissions::statusBadgePaddingVertical;
    Q_PROPERTY(int descriptionMaximumLines MEMBER descriptionMaximumLines_ CONSTANT)
    const int descriptionMaximumLines_ = Permissions::descriptionMaximumLines;
    Q_PROPERTY(double stepSpacing MEMBER stepSpacing_ CONSTANT)
    const double stepSpacing_ = Permissions::stepSpacing;
    Q_PROPERTY(double stepNumberWidth MEMBER stepNumberWidth_ CONSTANT)
    const double stepNumberWidth_ = Permissions::stepNumberWidth;
    Q_PROPERTY(double stepRowSpacing MEMBER stepRowSpacing_ CONSTANT)
    const double stepRowSpacing_ = Permissions::stepRowSpacing;
    Q_PROPERTY(double cardButtonSpacing MEMBER cardButtonSpacing_ CONSTANT)
    const double cardButtonSpacing_ = Permissions::cardButtonSpacing;
    Q_PROPERTY(double diagnosticsSpacing MEMBER diagnosticsSpacing_ CONSTANT)
    const double diagnosticsSpacing_ = Permissions::diagnosticsSpacing;
    Q_PROPERTY(double diagnosticsPadding MEMBER diagnosticsPadding_ CONSTANT)
    const double diagnosticsPadding_ = Permissions::diagnosticsPadding;
    Q_PROPERTY(double diagnosticsCornerRadius MEMBER diagnosticsCornerRadius_ CONSTANT)
    const double diagnosticsCornerRadius_ = Permissions::diagnosticsCornerRadius;
    Q_PROPERTY(double diagnosticsLabelWidth MEMBER diagnosticsLabelWidth_ CONSTANT)
    const double diagnosticsLabelWidth_ = Permissions::diagnosticsLabelWidth;
    Q_PROPERTY(double diagnosticsNoteSpacing MEMBER diagnosticsNoteSpacing_ CONSTANT)
    const double diagnosticsNoteSpacing_ = Permissions::diagnosticsNoteSpacing;

    // The setup-complete note's layout.
    Q_PROPERTY(double completeWidth MEMBER completeWidth_ CONSTANT)
    const double completeWidth_ = Complete::width;
    Q_PROPERTY(double completeHeight MEMBER completeHeight_ CONSTANT)
    const double completeHeight_ = Complete::height;
    Q_PROPERTY(double completeSpacing MEMBER completeSpacing_ CONSTANT)
    const double completeSpacing_ = Complete::spacing;
    Q_PROPERTY(double completeSymbolSize MEMBER completeSymbolSize_ CONSTANT)
    const double completeSymbolSize_ = Complete::symbolSize;
    Q_PROPERTY(int contentSwitchAnimationMs MEMBER contentSwitchAnimationMs_ CONSTANT)
    const int contentSwitchAnimationMs_ =
        static_cast<int>(std::lround(Complete::contentSwitchAnimationSeconds * 1000));

    // This desktop's text styles: title 3, headline, subheadline, caption and caption 2.
    Q_PROPERTY(int title3PixelSize MEMBER title3PixelSize_ CONSTANT)
    const int title3PixelSize_ = DesktopTextStyles::title3;
    Q_PROPERTY(int headlinePixelSize MEMBER headlinePixelSize_ CONSTANT)
    const int headlinePixelSize_ = DesktopTextStyles::headline;
    Q_PROPERTY(int subheadlinePixelSize MEMBER subheadlinePixelSize_ CONSTANT)
    const int subheadlinePixelSize_ = DesktopTextStyles::subheadline;
    Q_PROPERTY(int captionPixelSize MEMBER captionPixelSize_ CONSTANT)
    const int captionPixelSize_ = DesktopTextStyles::caption;
    Q_PROPERTY(int caption2PixelSize MEMBER caption2PixelSize_ CONSTANT)
    const int caption2PixelSize_ = DesktopTextStyles::caption2;

    // This desktop's push buttons, regular and small, and the gap in a symbol's label and in a
    // row of texts.
    Q_PROPERTY(int buttonHeight MEMBER buttonHeight_ CONSTANT)
    const int buttonHeight_ = 28;
    Q_PROPERTY(int smallButtonHeight MEMBER smallButtonHeight_ CONSTANT)
    const int smallButtonHeight_ = 22;
    Q_PROPERTY(int buttonPaddingHorizontal MEMBER buttonPaddingHorizontal_ CONSTANT)
    const int buttonPaddingHorizontal_ = 12;
    Q_PROPERTY(int smallButtonPaddingHorizontal MEMBER smallButtonPaddingHorizontal_ CONSTANT)
    const int smallButtonPaddingHorizontal_ = 8;
    Q_PROPERTY(int buttonCornerRadius MEMBER buttonCornerRadius_ CONSTANT)
    const int buttonCornerRadius_ = 6;
    Q_PROPERTY(int labelSpacing MEMBER labelSpacing_ CONSTANT)
    const int labelSpacing_ = 4;
    Q_PROPERTY(int rowSpacing MEMBER rowSpacing_ CONSTANT)
    const int rowSpacing_ = 8;

    // The desktop's named colours.
    Q_PROPERTY(QColor red MEMBER red_ CONSTANT)
    const QColor red_ = toQColor(NamedColor::red);
    Q_PROPERTY(QColor orange MEMBER orange_ CONSTANT)
    const QColor orange_ = toQColor(NamedColor::orange);
    Q_PROPERTY(QColor green MEMBER green_ CONSTANT)
    const QColor green_ = toQColor(NamedColor::green);
    Q_PROPERTY(QColor blue MEMBER blue_ CONSTANT)
    const QColor blue_ = toQColor(NamedColor::blue);
    Q_PROPERTY(QColor gray MEMBER gray_ CONSTANT)
    const QColor gray_ = toQColor(NamedColor::gray);
    Q_PROPERTY(QColor secondary MEMBER secondary_ CONSTANT)
    const QColor secondary_ = toQColor(NamedColor::secondary);
    Q_PROPERTY(QColor accent MEMBER accent_ CONSTANT)
    const QColor accent_ = toQColor(NamedColor::accent);

    // A bordered push button: a faint fill and outline of the text colour, shaded when
    // pressed and lit when hovered.
    Q_PROPERTY(double buttonFillOpacity MEMBER buttonFillOpacity_ CONSTANT)
    const double buttonFillOpacity_ = 0.08;
    Q_PROPERTY(double buttonBorderOpacity MEMBER buttonBorderOpacity_ CONSTANT)
    const double buttonBorderOpacity_ = 0.12;
    Q_PROPERTY(QColor buttonPressedShade MEMBER buttonPressedShade_ CONSTANT)
    const QColor buttonPressedShade_ = QColor::fromRgbF(0, 0, 0, 0.15F);
    Q_PROPERTY(QColor buttonHoverLight MEMBER buttonHoverLight_ CONSTANT)
    const QColor buttonHoverLight_ = QColor::fromRgbF(1, 1, 1, 0.15F);
};

} // namespace velmora
