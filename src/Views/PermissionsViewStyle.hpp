#pragma once

namespace velmora {

/// The onboarding view's layout, in points.
struct PermissionsViewStyle {
    static constexpr double width = 560;
    static constexpr double height = 720;
    static constexpr double padding = 24;
    static constexpr double headerSpacing = 10;
    static constexpr double headerPaddingBottom = 16;
    static constexpr double headerCircleDiameter = 60;
    static constexpr double headerCircleOpacity = 0.15;
    static constexpr double headerSymbolSize = 28;
    static constexpr double sectionSpacing = 16;
    static constexpr double sectionItemSpacing = 8;
    static constexpr double infoRowSpacing = 6;
    static constexpr double bottomSpacing = 10;
    static constexpr double bottomButtonSpacing = 8;
    static constexpr double continueMinimumWidth = 120;

    static constexpr double cardHeaderSpacing = 10;
    static constexpr double cardPadding = 10;
    static constexpr double cardCornerRadius = 10;
    static constexpr double cardOutlineWidth = 1;
    static constexpr double cardOutlineOpacity = 0.3;
    static constexpr double iconTileSize = 36;
    static constexpr double iconTileCornerRadius = 8;
    static constexpr double iconSymbolSize = 16;
    static constexpr double tintOpacity = 0.15;
    static constexpr double titleSpacing = 2;
    static constexpr double requiredBadgeFontSize = 9;
    static constexpr double requiredBadgePaddingHorizontal = 5;
    static constexpr double requiredBadgePaddingVertical = 2;
    static constexpr double statusBadgeSpacing = 3;
    static constexpr double statusBadgePaddingHorizontal = 6;
    static constexpr double statusBadgePaddingVertical = 2;
    static constexpr int descriptionMaximumLines = 2;
    static constexpr double stepSpacing = 3;
    static constexpr double stepNumberWidth = 12;
    static constexpr double stepRowSpacing = 5;
    static constexpr double cardButtonSpacing = 6;

    static constexpr double diagnosticsSpacing = 6;
    static constexpr double diagnosticsPadding = 10;
    static constexpr double diagnosticsCornerRadius = 8;
    static constexpr double diagnosticsLabelWidth = 100;
    /// Above the hint and above the copy button.
    static constexpr double diagnosticsNoteSpacing = 4;
};

} // namespace velmora
