#pragma once

namespace velmora {

/// A protected application's row in the menu-bar panel, in points and seconds.
struct ProtectedAppRowStyle {
    static constexpr double cornerRadius = 10;
    static constexpr double fillOpacity = 0.025;
    static constexpr double lineSpacing = 16;
    static constexpr double linePaddingVertical = 2;
    static constexpr double linePaddingHorizontal = 8;
    static constexpr double iconSize = 35;
    static constexpr double iconCornerRadius = 8;
    static constexpr double iconShadowOpacity = 0.1;
    static constexpr double iconShadowRadius = 1;
    static constexpr double placeholderFillOpacity = 0.1;
    static constexpr double placeholderSymbolSize = 18;
    static constexpr double fontSize = 10;
    static constexpr double badgeSymbolSize = 9;
    static constexpr double badgePaddingHorizontal = 10;
    static constexpr double badgePaddingVertical = 4;
    static constexpr double badgeCornerRadius = 6;
    static constexpr double inactiveFillOpacity = 0.15;
    static constexpr double expandAnimationSeconds = 0.2;

    static constexpr double controlsSpacing = 10;
    static constexpr double dividerOpacity = 0.3;
    static constexpr double dividerPadding = 8;
    static constexpr double controlsPaddingHorizontal = 12;
    static constexpr double pickerWidth = 90;
    static constexpr double switchScale = 0.7;
    static constexpr double buttonsSpacing = 12;
    static constexpr double buttonLabelSpacing = 4;
    static constexpr double buttonsPaddingBottom = 6;
    static constexpr double progressSize = 9;
    static constexpr double removeOpacity = 0.8;
};

} // namespace velmora
