#pragma once

namespace velmora {

/// The menu-bar panel's layout, in points.
struct MenuBarDropdownStyle {
    static constexpr double width = 350;
    static constexpr double horizontalPadding = 16;
    static constexpr double sectionPadding = 4;
    static constexpr double bottomBarPaddingBottom = 6;
    static constexpr double dividerOpacity = 0.5;

    static constexpr double titleFontSize = 15;
    static constexpr double statusDotSize = 6;
    static constexpr double statusSpacing = 6;
    static constexpr double statusFontSize = 11;
    static constexpr double notProtectedOpacity = 0.8;

    static constexpr double warningSpacing = 10;
    static constexpr double warningPaddingVertical = 10;
    static constexpr double warningBandOpacity = 0.85;
    static constexpr double warningIconSize = 14;
    static constexpr double warningTitleFontSize = 12;
    static constexpr double warningSubtitleFontSize = 10;
    static constexpr double warningSubtitleOpacity = 0.7;
    static constexpr double warningChevronSize = 11;
    static constexpr double warningChevronOpacity = 0.6;
    static constexpr double noticeButtonPaddingHorizontal = 8;
    static constexpr double noticeButtonPaddingVertical = 3;
    static constexpr double noticeButtonFillOpacity = 0.2;

    static constexpr double sectionFontSize = 11;
    static constexpr double sectionTracking = 0.5;
    static constexpr double listMaximumHeight = 550;
    static constexpr double rowDividerPadding = 1;
    static constexpr double emptySymbolSize = 32;
    static constexpr double emptySpacing = 8;
    static constexpr double emptyPaddingVertical = 20;

    static constexpr double actionSpacing = 12;
    static constexpr double actionFontSize = 11;
    static constexpr double actionPaddingHorizontal = 12;
    static constexpr double actionPaddingVertical = 6;
    static constexpr double actionCornerRadius = 6;
    static constexpr double lockAllFillOpacity = 0.1;
    static constexpr double disabledOpacity = 0.5;
    static constexpr double gearSize = 13;
};

} // namespace velmora
