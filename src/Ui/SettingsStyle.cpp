#include "Ui/SettingsStyle.hpp"

#include "Ui/QtNamedColor.hpp"
#include "Views/MainContentViewStyle.hpp"
#include "Views/PermissionsViewStyle.hpp"

#include <cmath>

namespace velmora {

double SettingsStyle::width() {
    return PermissionsViewStyle::width;
}
double SettingsStyle::height() {
    return PermissionsViewStyle::height;
}
double SettingsStyle::padding() {
    return PermissionsViewStyle::padding;
}
double SettingsStyle::headerSpacing() {
    return PermissionsViewStyle::headerSpacing;
}
double SettingsStyle::headerPaddingBottom() {
    return PermissionsViewStyle::headerPaddingBottom;
}
double SettingsStyle::headerCircleDiameter() {
    return PermissionsViewStyle::headerCircleDiameter;
}
double SettingsStyle::headerCircleOpacity() {
    return PermissionsViewStyle::headerCircleOpacity;
}
double SettingsStyle::headerSymbolSize() {
    return PermissionsViewStyle::headerSymbolSize;
}
double SettingsStyle::sectionSpacing() {
    return PermissionsViewStyle::sectionSpacing;
}
double SettingsStyle::sectionItemSpacing() {
    return PermissionsViewStyle::sectionItemSpacing;
}
double SettingsStyle::infoRowSpacing() {
    return PermissionsViewStyle::infoRowSpacing;
}
double SettingsStyle::bottomSpacing() {
    return PermissionsViewStyle::bottomSpacing;
}
double SettingsStyle::bottomButtonSpacing() {
    return PermissionsViewStyle::bottomButtonSpacing;
}
double SettingsStyle::continueMinimumWidth() {
    return PermissionsViewStyle::continueMinimumWidth;
}
double SettingsStyle::cardHeaderSpacing() {
    return PermissionsViewStyle::cardHeaderSpacing;
}
double SettingsStyle::cardPadding() {
    return PermissionsViewStyle::cardPadding;
}
double SettingsStyle::cardCornerRadius() {
    return PermissionsViewStyle::cardCornerRadius;
}
double SettingsStyle::cardOutlineWidth() {
    return PermissionsViewStyle::cardOutlineWidth;
}
double SettingsStyle::cardOutlineOpacity() {
    return PermissionsViewStyle::cardOutlineOpacity;
}
double SettingsStyle::iconTileSize() {
    return PermissionsViewStyle::iconTileSize;
}
double SettingsStyle::iconTileCornerRadius() {
    return PermissionsViewStyle::iconTileCornerRadius;
}
double SettingsStyle::iconSymbolSize() {
    return PermissionsViewStyle::iconSymbolSize;
}
double SettingsStyle::tintOpacity() {
    return PermissionsViewStyle::tintOpacity;
}
double SettingsStyle::titleSpacing() {
    return PermissionsViewStyle::titleSpacing;
}
double SettingsStyle::requiredBadgeFontSize() {
    return PermissionsViewStyle::requiredBadgeFontSize;
}
double SettingsStyle::requiredBadgePaddingHorizontal() {
    return PermissionsViewStyle::requiredBadgePaddingHorizontal;
}
double SettingsStyle::requiredBadgePaddingVertical() {
    return PermissionsViewStyle::requiredBadgePaddingVertical;
}
double SettingsStyle::statusBadgeSpacing() {
    return PermissionsViewStyle::statusBadgeSpacing;
}
double SettingsStyle::statusBadgePaddingHorizontal() {
    return PermissionsViewStyle::statusBadgePaddingHorizontal;
}
double SettingsStyle::statusBadgePaddingVertical() {
    return PermissionsViewStyle::statusBadgePaddingVertical;
}
int SettingsStyle::descriptionMaximumLines() {
    return PermissionsViewStyle::descriptionMaximumLines;
}
double SettingsStyle::stepSpacing() {
    return PermissionsViewStyle::stepSpacing;
}
double SettingsStyle::stepNumberWidth() {
    return PermissionsViewStyle::stepNumberWidth;
}
double SettingsStyle::stepRowSpacing() {
    return PermissionsViewStyle::stepRowSpacing;
}
double SettingsStyle::cardButtonSpacing() {
    return PermissionsViewStyle::cardButtonSpacing;
}
double SettingsStyle::diagnosticsSpacing() {
    return PermissionsViewStyle::diagnosticsSpacing;
}
double SettingsStyle::diagnosticsPadding() {
    return PermissionsViewStyle::diagnosticsPadding;
}
double SettingsStyle::diagnosticsCornerRadius() {
    return PermissionsViewStyle::diagnosticsCornerRadius;
}
double SettingsStyle::diagnosticsLabelWidth() {
    return PermissionsViewStyle::diagnosticsLabelWidth;
}
double SettingsStyle::diagnosticsNoteSpacing() {
    return PermissionsViewStyle::diagnosticsNoteSpacing;
}
double SettingsStyle::completeWidth() {
    return MainContentViewStyle::width;
}
double SettingsStyle::completeHeight() {
    return MainContentViewStyle::height;
}
double SettingsStyle::completeSpacing() {
    return MainContentViewStyle::spacing;
}
double SettingsStyle::completeSymbolSize() {
    return MainContentViewStyle::symbolSize;
}
int SettingsStyle::contentSwitchAnimationMs() {
    return static_cast<int>(
        std::lround(MainContentViewStyle::contentSwitchAnimationSeconds * 1000));
}
QColor SettingsStyle::red() {
    return toQColor(NamedColor::red);
}
QColor SettingsStyle::orange() {
    return toQColor(NamedColor::orange);
}
QColor SettingsStyle::green() {
    return toQColor(NamedColor::green);
}
QColor SettingsStyle::blue() {
    return toQColor(NamedColor::blue);
}
QColor SettingsStyle::gray() {
    return toQColor(NamedColor::gray);
}
QColor SettingsStyle::secondary() {
    return toQColor(NamedColor::secondary);
}
QColor SettingsStyle::accent() {
    return toQColor(NamedColor::accent);
}

} // namespace velmora
