#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QVariantList>

namespace velmora {

/// The lock card's sizes, colours, texts and timings, for the QML files: one source for them,
/// the card model of the lock core.
///
///     import Velmora
///     Rectangle { width: LockCardStyle.width; radius: LockCardStyle.cornerRadius }
///
/// Sizes are in device-independent pixels, durations in milliseconds.
class LockCardStyle final : public QObject {
    Q_OBJECT
    Q_PROPERTY(QColor brandPurple READ brandPurple CONSTANT)
    Q_PROPERTY(QColor brandPurpleBackground READ brandPurpleBackground CONSTANT)
    Q_PROPERTY(QVariantList cardSheen READ cardSheen CONSTANT)
    Q_PROPERTY(QColor coverColor READ coverColor CONSTANT)
    Q_PROPERTY(QVariantList coverSheen READ coverSheen CONSTANT)
    Q_PROPERTY(QColor shadowColor READ shadowColor CONSTANT)
    Q_PROPERTY(QString subtitle READ subtitle CONSTANT)
    Q_PROPERTY(QString minimizeTitle READ minimizeTitle CONSTANT)
    Q_PROPERTY(QString minimizeTooltip READ minimizeTooltip CONSTANT)
    Q_PROPERTY(QColor tooltipColor READ tooltipColor CONSTANT)
    Q_PROPERTY(QColor tooltipTextColor READ tooltipTextColor CONSTANT)
    Q_PROPERTY(double tooltipPadding READ tooltipPadding CONSTANT)
    Q_PROPERTY(double tooltipGap READ tooltipGap CONSTANT)
    Q_PROPERTY(int tooltipDelayMs READ tooltipDelayMs CONSTANT)
    Q_PROPERTY(QString lockSymbol READ lockSymbol CONSTANT)
    Q_PROPERTY(QString minimizeSymbol READ minimizeSymbol CONSTANT)
    Q_PROPERTY(double width READ width CONSTANT)
    Q_PROPERTY(double cornerRadius READ cornerRadius CONSTANT)
    Q_PROPERTY(double shadowRadius READ shadowRadius CONSTANT)
    Q_PROPERTY(double shadowOffsetY READ shadowOffsetY CONSTANT)
    Q_PROPERTY(double hoverScale READ hoverScale CONSTANT)
    Q_PROPERTY(int hoverAnimationMs READ hoverAnimationMs CONSTANT)
    Q_PROPERTY(double iconCircleDiameter READ iconCircleDiameter CONSTANT)
    Q_PROPERTY(double lockSymbolSize READ lockSymbolSize CONSTANT)
    Q_PROPERTY(double iconPaddingTop READ iconPaddingTop CONSTANT)
    Q_PROPERTY(double iconPaddingBottom READ iconPaddingBottom CONSTANT)
    Q_PROPERTY(double textSpacing READ textSpacing CONSTANT)
    Q_PROPERTY(int appNameMaximumLines READ appNameMaximumLines CONSTANT)
    Q_PROPERTY(double textPaddingHorizontal READ textPaddingHorizontal CONSTANT)
    Q_PROPERTY(double textPaddingBottom READ textPaddingBottom CONSTANT)
    Q_PROPERTY(double unlockLabelSpacing READ unlockLabelSpacing CONSTANT)
    Q_PROPERTY(double unlockSymbolSize READ unlockSymbolSize CONSTANT)
    Q_PROPERTY(double unlockButtonHeight READ unlockButtonHeight CONSTANT)
    Q_PROPERTY(double unlockButtonCornerRadius READ unlockButtonCornerRadius CONSTANT)
    Q_PROPERTY(double unlockButtonPaddingHorizontal READ unlockButtonPaddingHorizontal CONSTANT)
    Q_PROPERTY(double unlockButtonPaddingBottom READ unlockButtonPaddingBottom CONSTANT)
    Q_PROPERTY(double pressedScale READ pressedScale CONSTANT)
    Q_PROPERTY(double waitingOpacity READ waitingOpacity CONSTANT)
    Q_PROPERTY(double secondaryTextOpacity READ secondaryTextOpacity CONSTANT)
    Q_PROPERTY(int pressAnimationMs READ pressAnimationMs CONSTANT)
    Q_PROPERTY(double pressMaximumDistance READ pressMaximumDistance CONSTANT)
    Q_PROPERTY(double minimizeLabelSpacing READ minimizeLabelSpacing CONSTANT)
    Q_PROPERTY(double minimizeSymbolSize READ minimizeSymbolSize CONSTANT)
    Q_PROPERTY(double minimizePaddingBottom READ minimizePaddingBottom CONSTANT)
    Q_PROPERTY(double bottomSpacerHeight READ bottomSpacerHeight CONSTANT)
    Q_PROPERTY(int headlinePixelSize READ headlinePixelSize CONSTANT)
    Q_PROPERTY(int subheadlinePixelSize READ subheadlinePixelSize CONSTANT)
    Q_PROPERTY(int bodyPixelSize READ bodyPixelSize CONSTANT)

public:
    using QObject::QObject;

    [[nodiscard]] static QColor brandPurple();
    [[nodiscard]] static QColor brandPurpleBackground();
    [[nodiscard]] static QVariantList cardSheen();
    [[nodiscard]] static QColor coverColor();
    [[nodiscard]] static QVariantList coverSheen();
    [[nodiscard]] static QColor shadowColor();
    [[nodiscard]] static QString subtitle();
    [[nodiscard]] static QString minimizeTitle();
    [[nodiscard]] static QString minimizeTooltip();
    /// The desktop's tool tip: its colours, and where and when it shows.
    [[nodiscard]] static QColor tooltipColor();
    [[nodiscard]] static QColor tooltipTextColor();
    [[nodiscard]] static double tooltipPadding() { return 6; }
    [[nodiscard]] static double tooltipGap() { return 3; }
    [[nodiscard]] static int tooltipDelayMs() { return 700; }
    [[nodiscard]] static QString lockSymbol();
    [[nodiscard]] static QString minimizeSymbol();
    [[nodiscard]] static double width();
    [[nodiscard]] static double cornerRadius();
    [[nodiscard]] static double shadowRadius();
    [[nodiscard]] static double shadowOffsetY();
    [[nodiscard]] static double hoverScale();
    [[nodiscard]] static int hoverAnimationMs();
    [[nodiscard]] static double iconCircleDiameter();
    [[nodiscard]] static double lockSymbolSize();
    [[nodiscard]] static double iconPaddingTop();
    [[nodiscard]] static double iconPaddingBottom();
    [[nodiscard]] static double textSpacing();
    [[nodiscard]] static int appNameMaximumLines();
    [[nodiscard]] static double textPaddingHorizontal();
    [[nodiscard]] static double textPaddingBottom();
    [[nodiscard]] static double unlockLabelSpacing();
    [[nodiscard]] static double unlockSymbolSize();
    [[nodiscard]] static double unlockButtonHeight();
    [[nodiscard]] static double unlockButtonCornerRadius();
    [[nodiscard]] static double unlockButtonPaddingHorizontal();
    [[nodiscard]] static double unlockButtonPaddingBottom();
    [[nodiscard]] static double pressedScale();
    [[nodiscard]] static double waitingOpacity();
    /// The desktop's text colour at this opacity is the card's secondary text.
    [[nodiscard]] static double secondaryTextOpacity();
    [[nodiscard]] static int pressAnimationMs();
    [[nodiscard]] static double pressMaximumDistance();
    [[nodiscard]] static double minimizeLabelSpacing();
    [[nodiscard]] static double minimizeSymbolSize();
    [[nodiscard]] static double minimizePaddingBottom();
    [[nodiscard]] static double bottomSpacerHeight();
    /// The desktop's text styles: a headline, a subheadline and body text.
    [[nodiscard]] static int headlinePixelSize() { return 15; }
    [[nodiscard]] static int subheadlinePixelSize() { return 13; }
    [[nodiscard]] static int bodyPixelSize() { return 14; }
};

} // namespace velmora
