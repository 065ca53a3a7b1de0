#pragma once

#include "Core/Overlay/LockBackgroundView.hpp"
#include "Core/Overlay/LockCardView.hpp"
#include "Core/Overlay/OverlayContentView.hpp"
#include "Ui/DesktopTextStyles.hpp"
#include "Ui/QtColor.hpp"
#include "Ui/QtText.hpp"

#include <QColor>
#include <QGuiApplication>
#include <QObject>
#include <QPalette>
#include <QString>
#include <QVariantList>
#include <span>

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

public:
    using QObject::QObject;

    [[nodiscard]] static QColor brandPurple();
    [[nodiscard]] static QColor brandPurpleBackground();
    /// How long the pointer rests before the desktop's tool tip shows.
    static constexpr int tooltipDelay = 700;

private:
    using Card = LockCardView;

    [[nodiscard]] static QVariantList gradient(std::span<const Color> stops);
    [[nodiscard]] static int milliseconds(double seconds);

    // Each value is a const member that QML reads through moc; CONSTANT keeps moc from
    // generating a write.

    // The card's colours, and the cover's.
    Q_PROPERTY(QColor brandPurple MEMBER brandPurple_ CONSTANT)
    const QColor brandPurple_ = brandPurple();
    Q_PROPERTY(QColor brandPurpleBackground MEMBER brandPurpleBackground_ CONSTANT)
    const QColor brandPurpleBackground_ = brandPurpleBackground();
    Q_PROPERTY(QVariantList cardSheen MEMBER cardSheen_ CONSTANT)
    const QVariantList cardSheen_ = gradient(Card::sheenGradient);
    Q_PROPERTY(QColor coverColor MEMBER coverColor_ CONSTANT)
    const QColor coverColor_ =
        toQColor(LockBackgroundView{OverlayContentView::backgroundOpacity}.coverColor());
    Q_PROPERTY(QVariantList coverSheen MEMBER coverSheen_ CONSTANT)
    const QVariantList coverSheen_ = gradient(LockBackgroundView::sheenGradient);
    Q_PROPERTY(QColor shadowColor MEMBER shadowColor_ CONSTANT)
    const QColor shadowColor_ = toQColor(Card::shadow.color);

    // Its texts and symbols.
    Q_PROPERTY(QString subtitle MEMBER subtitle_ CONSTANT)
    const QString subtitle_ = toQString(Card::subtitle);
    Q_PROPERTY(QString minimizeTitle MEMBER minimizeTitle_ CONSTANT)
    const QString minimizeTitle_ = toQString(Card::minimizeTitle);
    Q_PROPERTY(QString minimizeTooltip MEMBER minimizeTooltip_ CONSTANT)
    const QString minimizeTooltip_ = toQString(Card::minimizeTooltip);
    Q_PROPERTY(QString lockSymbol MEMBER lockSymbol_ CONSTANT)
    const QString lockSymbol_ = toQString(Card::lockSymbol);
    Q_PROPERTY(QString minimizeSymbol MEMBER minimizeSymbol_ CONSTANT)
    const QString minimizeSymbol_ = toQString(Card::minimizeSymbol);

    // The desktop's tool tip: its colours, and where and when it shows.
    Q_PROPERTY(QColor tooltipColor MEMBER tooltipColor_ CONSTANT)
    const QColor tooltipColor_ = QGuiApplication::palette().color(QPalette::ToolTipBase);
    Q_PROPERTY(QColor tooltipTextColor MEMBER tooltipTextColor_ CONSTANT)
    const QColor tooltipTextColor_ = QGuiApplication::palette().color(QPalette::ToolTipText);
    Q_PROPERTY(double tooltipPadding MEMBER tooltipPadding_ CONSTANT)
    const double tooltipPadding_ = 6;
    Q_PROPERTY(double tooltipGap MEMBER tooltipGap_ CONSTANT)
    const double tooltipGap_ = 3;
    Q_PROPERTY(int tooltipDelayMs MEMBER tooltipDelayMs_ CONSTANT)
    const int tooltipDelayMs_ = tooltipDelay;

    // The card's layout and feedback.
    Q_PROPERTY(double width MEMBER width_ CONSTANT)
    const double width_ = Card::width;
    Q_PROPERTY(double cornerRadius MEMBER cornerRadius_ CONSTANT)
    const double cornerRadius_ = Card::cornerRadius;
    Q_PROPERTY(double shadowRadius MEMBER shadowRadius_ CONSTANT)
    const double shadowRadius_ = Card::shadow.radius;
    Q_PROPERTY(double shadowOffsetY MEMBER shadowOffsetY_ CONSTANT)
    const double shadowOffsetY_ = Card::shadow.offsetY;
    Q_PROPERTY(double hoverScale MEMBER hoverScale_ CONSTANT)
    const double hoverScale_ = Card::hoverScale;
    Q_PROPERTY(int hoverAnimationMs MEMBER hoverAnimationMs_ CONSTANT)
    const int hoverAnimationMs_ = milliseconds(Card::hoverAnimationSeconds);
    Q_PROPERTY(double iconCircleDiameter MEMBER iconCircleDiameter_ CONSTANT)
    const double iconCircleDiameter_ = Card::iconCircleDiameter;
    Q_PROPERTY(double lockSymbolSize MEMBER lockSymbolSize_ CONSTANT)
    const double lockSymbolSize_ = Card::lockSymbolSize;
    Q_PROPERTY(double iconPaddingTop MEMBER iconPaddingTop_ CONSTANT)
    const double iconPaddingTop_ = Card::iconPaddingTop;
    Q_PROPERTY(double iconPaddingBottom MEMBER iconPaddingBottom_ CONSTANT)
    const double iconPaddingBottom_ = Card::iconPaddingBottom;
    Q_PROPERTY(double textSpacing MEMBER textSpacing_ CONSTANT)
    const double textSpacing_ = Card::textSpacing;
    Q_PROPERTY(int appNameMaximumLines MEMBER appNameMaximumLines_ CONSTANT)
    const int appNameMaximumLines_ = Card::appNameMaximumLines;
    Q_PROPERTY(double textPaddingHorizontal MEMBER textPaddingHorizontal_ CONSTANT)
    const double textPaddingHorizontal_ = Card::textPaddingHorizontal;
    Q_PROPERTY(double textPaddingBottom MEMBER textPaddingBottom_ CONSTANT)
    const double textPaddingBottom_ = Card::textPaddingBottom;
    Q_PROPERTY(double unlockLabelSpacing MEMBER unlockLabelSpacing_ CONSTANT)
    const double unlockLabelSpacing_ = Card::unlockLabelSpacing;
    Q_PROPERTY(double unlockSymbolSize MEMBER unlockSymbolSize_ CONSTANT)
    const double unlockSymbolSize_ = Card::unlockSymbolSize;
    Q_PROPERTY(double unlockButtonHeight MEMBER unlockButtonHeight_ CONSTANT)
    const double unlockButtonHeight_ = Card::unlockButtonHeight;
    Q_PROPERTY(double unlockButtonCornerRadius MEMBER unlockButtonCornerRadius_ CONSTANT)
    const double unlockButtonCornerRadius_ = Card::unlockButtonCornerRadius;
    Q_PROPERTY(double unlockButtonPaddingHorizontal MEMBER unlockButtonPaddingHorizontal_ CONSTANT)
    const double unlockButtonPaddingHorizontal_ = Card::unlockButtonPaddingHorizontal;
    Q_PROPERTY(double unlockButtonPaddingBottom MEMBER unlockButtonPaddingBottom_ CONSTANT)
    const double unlockButtonPaddingBottom_ = Card::unlockButtonPaddingBottom;
    Q_PROPERTY(double pressedScale MEMBER pressedScale_ CONSTANT)
    const double pressedScale_ = Card::pressedScale;
    Q_PROPERTY(double waitingOpacity MEMBER waitingOpacity_ CONSTANT)
    const double waitingOpacity_ = Card::waitingOpacity;
    Q_PROPERTY(int pressAnimationMs MEMBER pressAnimationMs_ CONSTANT)
    const int pressAnimationMs_ = milliseconds(Card::pressAnimationSeconds);
    Q_PROPERTY(double pressMaximumDistance MEMBER pressMaximumDistance_ CONSTANT)
    const double pressMaximumDistance_ = Card::pressMaximumDistance;
    Q_PROPERTY(double minimizeLabelSpacing MEMBER minimizeLabelSpacing_ CONSTANT)
    const double minimizeLabelSpacing_ = Card::minimizeLabelSpacing;
    Q_PROPERTY(double minimizeSymbolSize MEMBER minimizeSymbolSize_ CONSTANT)
    const double minimizeSymbolSize_ = Card::minimizeSymbolSize;
    Q_PROPERTY(double minimizePaddingBottom MEMBER minimizePaddingBottom_ CONSTANT)
    const double minimizePaddingBottom_ = Card::minimizePaddingBottom;
    Q_PROPERTY(double bottomSpacerHeight MEMBER bottomSpacerHeight_ CONSTANT)
    const double bottomSpacerHeight_ = Card::bottomSpacerHeight;

    // The desktop's text colour at this opacity is the card's secondary text.
    Q_PROPERTY(double secondaryTextOpacity MEMBER secondaryTextOpacity_ CONSTANT)
    const double secondaryTextOpacity_ = 0.55;

    // The desktop's text styles: a headline, a subheadline and body text.
    Q_PROPERTY(int headlinePixelSize MEMBER headlinePixelSize_ CONSTANT)
    const int headlinePixelSize_ = DesktopTextStyles::headline;
    Q_PROPERTY(int subheadlinePixelSize MEMBER subheadlinePixelSize_ CONSTANT)
    const int subheadlinePixelSize_ = DesktopTextStyles::subheadline;
    Q_PROPERTY(int bodyPixelSize MEMBER bodyPixelSize_ CONSTANT)
    const int bodyPixelSize_ = DesktopTextStyles::body;
};

} // namespace velmora
