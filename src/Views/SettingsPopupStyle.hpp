#pragma once

namespace velmora {

/// The settings popover's layout, in points.
struct SettingsPopupStyle {
    static constexpr double width = 280;
    static constexpr double titlePaddingHorizontal = 16;
    static constexpr double titlePaddingTop = 12;
    static constexpr double titlePaddingBottom = 8;
    static constexpr double maximumScrollHeight = 300;
    static constexpr double sectionSpacing = 16;
    static constexpr double contentPaddingHorizontal = 16;
    static constexpr double contentPaddingVertical = 12;
    static constexpr double switchTitleFontSize = 12;
    static constexpr double switchSubtitleFontSize = 10;
    static constexpr double buttonSymbolSize = 10;
    static constexpr double buttonSymbolWidth = 14;
    static constexpr double buttonFontSize = 11;
    static constexpr double buttonSpacing = 6;
    static constexpr double aboutSpacing = 8;
    static constexpr double appIconSize = 32;
    static constexpr double appIconCornerRadius = 6;
    static constexpr double appNameFontSize = 13;
    static constexpr double linksPaddingTop = 4;
};

} // namespace velmora
