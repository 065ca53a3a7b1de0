#pragma once

#include "Ui/ApplicationIconImageProvider.hpp"
#include "Ui/LockCardStyle.hpp"
#include "Ui/QtColor.hpp"
#include "Ui/QtText.hpp"
#include "Views/MenuBarDropdownStyle.hpp"
#include "Views/MenuBarDropdownViewModel.hpp"
#include "Views/NamedColor.hpp"
#include "Views/ProtectedAppRowStyle.hpp"
#include "Views/SettingsPopupStyle.hpp"
#include "Views/ViewPalette.hpp"

#include <QColor>
#include <QObject>
#include <QString>

namespace velmora {

/// The menu-bar panel's sizes, colours and fixed texts for the QML files, read from the
/// view models and their layout structs so that the QML spells out no number of its own.
///
///     import Velmora
///     Text { font.pixelSize: PanelStyle.titleFontSize; color: PanelStyle.primary }
///
/// Sizes are in device-independent pixels, durations in milliseconds. Named colours
/// ("secondary", "red", ...) are those of the panel's dark material.
class PanelStyle final : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    /// A named colour on the panel's dark material.
    [[nodiscard]] static QColor color(NamedColor name);

private:
    using Menu = MenuBarDropdownStyle;
    using Row = ProtectedAppRowStyle;
    using Popup = SettingsPopupStyle;
    using Dropdown = MenuBarDropdownViewModel;
    using RowModel = ProtectedAppRowViewModel;
    using Settings = SettingsPopupViewModel;

    // Each value is a const member that QML reads through moc; CONSTANT keeps moc from
    // generating a write.

    // The panel's material and the desktop's named colours on it.
    Q_PROPERTY(QColor material MEMBER material_ CONSTANT)
    const QColor material_ = QColor(30, 30, 36);
    Q_PROPERTY(QColor popover MEMBER popover_ CONSTANT)
    const QColor popover_ = QColor(40, 40, 48);
    Q_PROPERTY(QColor controlFill MEMBER controlFill_ CONSTANT)
    const QColor controlFill_ = QColor(58, 58, 68);
    Q_PROPERTY(QColor primary MEMBER primary_ CONSTANT)
    const QColor primary_ = color(NamedColor::primary);
    Q_PROPERTY(QColor secondary MEMBER secondary_ CONSTANT)
    const QColor secondary_ = color(NamedColor::secondary);
    Q_PROPERTY(QColor tertiary MEMBER tertiary_ CONSTANT)
    const QColor tertiary_ = color(NamedColor::tertiary);
    Q_PROPERTY(QColor divider MEMBER divider_ CONSTANT)
    const QColor divider_ = QColor::fromRgbF(1, 1, 1, 0.35F);
    Q_PROPERTY(QColor red MEMBER red_ CONSTANT)
    const QColor red_ = color(NamedColor::red);
    Q_PROPERTY(QColor yellow MEMBER yellow_ CONSTANT)
    const QColor yellow_ = color(NamedColor::yellow);
    Q_PROPERTY(QColor orange MEMBER orange_ CONSTANT)
    const QColor orange_ = color(NamedColor::orange);
    Q_PROPERTY(QColor blue MEMBER blue_ CONSTANT)
    const QColor blue_ = color(NamedColor::blue);
    Q_PROPERTY(QColor gray MEMBER gray_ CONSTANT)
    const QColor gray_ = color(NamedColor::gray);
    Q_PROPERTY(QColor accent MEMBER accent_ CONSTANT)
    const QColor accent_ = color(NamedColor::accent);
    Q_PROPERTY(QColor accentFill MEMBER accentFill_ CONSTANT)
    const QColor accentFill_ = toQColor(ViewPalette::accentFill);
    Q_PROPERTY(QColor unlocked MEMBER unlocked_ CONSTANT)
    const QColor unlocked_ = toQColor(ViewPalette::unlocked);
    Q_PROPERTY(QColor unlockedFill MEMBER unlockedFill_ CONSTANT)
    const QColor unlockedFill_ = toQColor(ViewPalette::unlockedFill);

    // The panel's layout.
    Q_PROPERTY(double width MEMBER width_ CONSTANT)
    const double width_ = Menu::width;
    Q_PROPERTY(double horizontalPadding MEMBER horizontalPadding_ CONSTANT)
    const double horizontalPadding_ = Menu::horizontalPadding;
    Q_PROPERTY(double sectionPadding MEMBER sectionPadding_ CONSTANT)
    const double sectionPadding_ = Menu::sectionPadding;
    Q_PROPERTY(double bottomBarPaddingBottom MEMBER bottomBarPaddingBottom_ CONSTANT)
    const double bottomBarPaddingBottom_ = Menu::bottomBarPaddingBottom;
    Q_PROPERTY(double dividerOpacity MEMBER dividerOpacity_ CONSTANT)
    const double dividerOpacity_ = Menu::dividerOpacity;
    Q_PROPERTY(double dividerThickness MEMBER dividerThickness_ CONSTANT)
    const double dividerThickness_ = 1;
    Q_PROPERTY(double popoverArrowSize MEMBER popoverArrowSize_ CONSTANT)
    const double popoverArrowSize_ = 8;
    // A longer detail is cut with an ellipsis.
    Q_PROPERTY(int noticeDetailMaximumLines MEMBER noticeDetailMaximumLines_ CONSTANT)
    const int noticeDetailMaximumLines_ = 3;
    Q_PROPERTY(int tooltipDelayMs MEMBER tooltipDelayMs_ CONSTANT)
    const int tooltipDelayMs_ = LockCardStyle::tooltipDelay;
    // How much lighter a filled button and a link are drawn under the pointer.
    Q_PROPERTY(double buttonHoverLightening MEMBER buttonHoverLightening_ CONSTANT)
    const double buttonHoverLightening_ = 1.3;
    Q_PROPERTY(double linkHoverLightening MEMBER linkHoverLightening_ CONSTANT)
    const double linkHoverLightening_ = 1.25;
    // This desktop's switch, drawn for the panel's material.
    Q_PROPERTY(double switchWidth MEMBER switchWidth_ CONSTANT)
    const double switchWidth_ = 38;
    Q_PROPERTY(double switchHeight MEMBER switchHeight_ CONSTANT)
    const double switchHeight_ = 22;
    Q_PROPERTY(double switchKnobInset MEMBER switchKnobInset_ CONSTANT)
    const double switchKnobInset_ = 2;
    Q_PROPERTY(int switchAnimationMs MEMBER switchAnimationMs_ CONSTANT)
    const int switchAnimationMs_ = 120;
    Q_PROPERTY(double titleFontSize MEMBER titleFontSize_ CONSTANT)
    const double titleFontSize_ = Menu::titleFontSize;
    Q_PROPERTY(double statusDotSize MEMBER statusDotSize_ CONSTANT)
    const double statusDotSize_ = Menu::statusDotSize;
    Q_PROPERTY(double statusSpacing MEMBER statusSpacing_ CONSTANT)
    const double statusSpacing_ = Menu::statusSpacing;
    Q_PROPERTY(double statusFontSize MEMBER statusFontSize_ CONSTANT)
    const double statusFontSize_ = Menu::statusFontSize;
    Q_PROPERTY(double warningSpacing MEMBER warningSpacing_ CONSTANT)
    const double warningSpacing_ = Menu::warningSpacing;
    Q_PROPERTY(double warningPaddingVertical MEMBER warningPaddingVertical_ CONSTANT)
    const double warningPaddingVertical_ = Menu::warningPaddingVertical;
    Q_PROPERTY(double warningBandOpacity MEMBER warningBandOpacity_ CONSTANT)
    const double warningBandOpacity_ = Menu::warningBandOpacity;
    Q_PROPERTY(double warningIconSize MEMBER warningIconSize_ CONSTANT)
    const double warningIconSize_ = Menu::warningIconSize;
    Q_PROPERTY(double warningTitleFontSize MEMBER warningTitleFontSize_ CONSTANT)
    const double warningTitleFontSize_ = Menu::warningTitleFontSize;
    Q_PROPERTY(double warningSubtitleFontSize MEMBER warningSubtitleFontSize_ CONSTANT)
    const double warningSubtitleFontSize_ = Menu::warningSubtitleFontSize;
    Q_PROPERTY(double warningSubtitleOpacity MEMBER warningSubtitleOpacity_ CONSTANT)
    const double warningSubtitleOpacity_ = Menu::warningSubtitleOpacity;
    Q_PROPERTY(double warningChevronSize MEMBER warningChevronSize_ CONSTANT)
    const double warningChevronSize_ = Menu::warningChevronSize;
    Q_PROPERTY(double warningChevronOpacity MEMBER warningChevronOpacity_ CONSTANT)
    const double warningChevronOpacity_ = Menu::warningChevronOpacity;
    Q_PROPERTY(double noticeButtonPaddingHorizontal MEMBER noticeButtonPaddingHorizontal_ CONSTANT)
    const double noticeButtonPaddingHorizontal_ = Menu::noticeButtonPaddingHorizontal;
    Q_PROPERTY(double noticeButtonPaddingVertical MEMBER noticeButtonPaddingVertical_ CONSTANT)
    const double noticeButtonPaddingVertical_ = Menu::noticeButtonPaddingVertical;
    Q_PROPERTY(double noticeButtonFillOpacity MEMBER noticeButtonFillOpacity_ CONSTANT)
    const double noticeButtonFillOpacity_ = Menu::noticeButtonFillOpacity;
    Q_PROPERTY(double sectionFontSize MEMBER sectionFontSize_ CONSTANT)
    const double sectionFontSize_ = Menu::sectionFontSize;
    Q_PROPERTY(double sectionTracking MEMBER sectionTracking_ CONSTANT)
    const double sectionTracking_ = Menu::sectionTracking;
    Q_PROPERTY(double listMaximumHeight MEMBER listMaximumHeight_ CONSTANT)
    const double listMaximumHeight_ = Menu::listMaximumHeight;
    Q_PROPERTY(double rowDividerPadding MEMBER rowDividerPadding_ CONSTANT)
    const double rowDividerPadding_ = Menu::rowDividerPadding;
    Q_PROPERTY(double emptySymbolSize MEMBER emptySymbolSize_ CONSTANT)
    const double emptySymbolSize_ = Menu::emptySymbolSize;
    Q_PROPERTY(double emptySpacing MEMBER emptySpacing_ CONSTANT)
    const double emptySpacing_ = Menu::emptySpacing;
    Q_PROPERTY(double emptyPaddingVertical MEMBER emptyPaddingVertical_ CONSTANT)
    const double emptyPaddingVertical_ = Menu::emptyPaddingVertical;
    Q_PROPERTY(double actionFontSize MEMBER actionFontSize_ CONSTANT)
    const double actionFontSize_ = Menu::actionFontSize;
    Q_PROPERTY(double actionPaddingHorizontal MEMBER actionPaddingHorizontal_ CONSTANT)
    const double actionPaddingHorizontal_ = Menu::actionPaddingHorizontal;
    Q_PROPERTY(double actionPaddingVertical MEMBER actionPaddingVertical_ CONSTANT)
    const double actionPaddingVertical_ = Menu::actionPaddingVertical;
    Q_PROPERTY(double actionCornerRadius MEMBER actionCornerRadius_ CONSTANT)
    const double actionCornerRadius_ = Menu::actionCornerRadius;
    Q_PROPERTY(double lockAllFillOpacity MEMBER lockAllFillOpacity_ CONSTANT)
    const double lockAllFillOpacity_ = Menu::lockAllFillOpacity;
    Q_PROPERTY(double disabledOpacity MEMBER disabledOpacity_ CONSTANT)
    const double disabledOpacity_ = Menu::disabledOpacity;
    Q_PROPERTY(double gearSize MEMBER gearSize_ CONSTANT)
    const double gearSize_ = Menu::gearSize;

    // A protected application's row.
    Q_PROPERTY(double rowCornerRadius MEMBER rowCornerRadius_ CONSTANT)
    const double rowCornerRadius_ = Row::cornerRadius;
    Q_PROPERTY(double rowFillOpacity MEMBER rowFillOpacity_ CONSTANT)
    const double rowFillOpacity_ = Row::fillOpacity;
    Q_PROPERTY(double rowLineSpacing MEMBER rowLineSpacing_ CONSTANT)
    const double rowLineSpacing_ = Row::lineSpacing;
    Q_PROPERTY(double rowLinePaddingVertical MEMBER rowLinePaddingVertical_ CONSTANT)
    const double rowLinePaddingVertical_ = Row::linePaddingVertical;
    Q_PROPERTY(double rowLinePaddingHorizontal MEMBER rowLinePaddingHorizontal_ CONSTANT)
    const double rowLinePaddingHorizontal_ = Row::linePaddingHorizontal;
    Q_PROPERTY(double rowIconSize MEMBER rowIconSize_ CONSTANT)
    const double rowIconSize_ = Row::iconSize;
    Q_PROPERTY(double rowIconCornerRadius MEMBER rowIconCornerRadius_ CONSTANT)
    const double rowIconCornerRadius_ = Row::iconCornerRadius;
    Q_PROPERTY(QColor rowIconShadow MEMBER rowIconShadow_ CONSTANT)
    const QColor rowIconShadow_ = QColor::fromRgbF(0, 0, 0, Row::iconShadowOpacity);
    Q_PROPERTY(double rowIconShadowRadius MEMBER rowIconShadowRadius_ CONSTANT)
    const double rowIconShadowRadius_ = Row::iconShadowRadius;
    Q_PROPERTY(double rowPlaceholderFillOpacity MEMBER rowPlaceholderFillOpacity_ CONSTANT)
    const double rowPlaceholderFillOpacity_ = Row::placeholderFillOpacity;
    Q_PROPERTY(double rowPlaceholderSymbolSize MEMBER rowPlaceholderSymbolSize_ CONSTANT)
    const double rowPlaceholderSymbolSize_ = Row::placeholderSymbolSize;
    Q_PROPERTY(double rowFontSize MEMBER rowFontSize_ CONSTANT)
    const double rowFontSize_ = Row::fontSize;
    Q_PROPERTY(double badgeSymbolSize MEMBER badgeSymbolSize_ CONSTANT)
    const double badgeSymbolSize_ = Row::badgeSymbolSize;
    Q_PROPERTY(double badgePaddingHorizontal MEMBER badgePaddingHorizontal_ CONSTANT)
    const double badgePaddingHorizontal_ = Row::badgePaddingHorizontal;
    Q_PROPERTY(double badgePaddingVertical MEMBER badgePaddingVertical_ CONSTANT)
    const double badgePaddingVertical_ = Row::badgePaddingVertical;
    Q_PROPERTY(double badgeCornerRadius MEMBER badgeCornerRadius_ CONSTANT)
    const double badgeCornerRadius_ = Row::badgeCornerRadius;
    Q_PROPERTY(double inactiveFillOpacity MEMBER inactiveFillOpacity_ CONSTANT)
    const double inactiveFillOpacity_ = Row::inactiveFillOpacity;
    Q_PROPERTY(int expandAnimationMs MEMBER expandAnimationMs_ CONSTANT)
    const int expandAnimationMs_ = static_cast<int>(Row::expandAnimationSeconds * 1000);
    Q_PROPERTY(double controlsSpacing MEMBER controlsSpacing_ CONSTANT)
    const double controlsSpacing_ = Row::controlsSpacing;
    Q_PROPERTY(double rowDividerOpacity MEMBER rowDividerOpacity_ CONSTANT)
    const double rowDividerOpacity_ = Row::dividerOpacity;
    Q_PROPERTY(double rowDividerInset MEMBER rowDividerInset_ CONSTANT)
    const double rowDividerInset_ = Row::dividerPadding;
    Q_PROPERTY(double controlsPaddingHorizontal MEMBER controlsPaddingHorizontal_ CONSTANT)
    const double controlsPaddingHorizontal_ = Row::controlsPaddingHorizontal;
    Q_PROPERTY(double pickerWidth MEMBER pickerWidth_ CONSTANT)
    const double pickerWidth_ = Row::pickerWidth;
    Q_PROPERTY(double pickerHeight MEMBER pickerHeight_ CONSTANT)
    const double pickerHeight_ = 24;
    Q_PROPERTY(double switchScale MEMBER switchScale_ CONSTANT)
    const double switchScale_ = Row::switchScale;
    Q_PROPERTY(double buttonLabelSpacing MEMBER buttonLabelSpacing_ CONSTANT)
    const double buttonLabelSpacing_ = Row::buttonLabelSpacing;
    Q_PROPERTY(double buttonsPaddingBottom MEMBER buttonsPaddingBottom_ CONSTANT)
    const double buttonsPaddingBottom_ = Row::buttonsPaddingBottom;
    Q_PROPERTY(double progressSize MEMBER progressSize_ CONSTANT)
    const double progressSize_ = Row::progressSize;
    Q_PROPERTY(double removeOpacity MEMBER removeOpacity_ CONSTANT)
    const double removeOpacity_ = Row::removeOpacity;

    // The settings popup's layout.
    Q_PROPERTY(double popupWidth MEMBER popupWidth_ CONSTANT)
    const double popupWidth_ = Popup::width;
    Q_PROPERTY(double popupTitlePaddingHorizontal MEMBER popupTitlePaddingHorizontal_ CONSTANT)
    const double popupTitlePaddingHorizontal_ = Popup::titlePaddingHorizontal;
    Q_PROPERTY(double popupTitlePaddingTop MEMBER popupTitlePaddingTop_ CONSTANT)
    const double popupTitlePaddingTop_ = Popup::titlePaddingTop;
    Q_PROPERTY(double popupTitlePaddingBottom MEMBER popupTitlePaddingBottom_ CONSTANT)
    const double popupTitlePaddingBottom_ = Popup::titlePaddingBottom;
    Q_PROPERTY(double popupMaximumScrollHeight MEMBER popupMaximumScrollHeight_ CONSTANT)
    const double popupMaximumScrollHeight_ = Popup::maximumScrollHeight;
    Q_PROPERTY(double popupSectionSpacing MEMBER popupSectionSpacing_ CONSTANT)
    const double popupSectionSpacing_ = Popup::sectionSpacing;
    Q_PROPERTY(double popupContentPaddingHorizontal MEMBER popupContentPaddingHorizontal_ CONSTANT)
    const double popupContentPaddingHorizontal_ = Popup::contentPaddingHorizontal;
    Q_PROPERTY(double popupContentPaddingVertical MEMBER popupContentPaddingVertical_ CONSTANT)
    const double popupContentPaddingVertical_ = Popup::contentPaddingVertical;
    Q_PROPERTY(double popupSwitchTitleFontSize MEMBER popupSwitchTitleFontSize_ CONSTANT)
    const double popupSwitchTitleFontSize_ = Popup::switchTitleFontSize;
    Q_PROPERTY(double popupSwitchSubtitleFontSize MEMBER popupSwitchSubtitleFontSize_ CONSTANT)
    const double popupSwitchSubtitleFontSize_ = Popup::switchSubtitleFontSize;
    Q_PROPERTY(double popupButtonSymbolSize MEMBER popupButtonSymbolSize_ CONSTANT)
    const double popupButtonSymbolSize_ = Popup::buttonSymbolSize;
    Q_PROPERTY(double popupButtonSymbolWidth MEMBER popupButtonSymbolWidth_ CONSTANT)
    const double popupButtonSymbolWidth_ = Popup::buttonSymbolWidth;
    Q_PROPERTY(double popupButtonFontSize MEMBER popupButtonFontSize_ CONSTANT)
    const double popupButtonFontSize_ = Popup::buttonFontSize;
    Q_PROPERTY(double popupButtonSpacing MEMBER popupButtonSpacing_ CONSTANT)
    const double popupButtonSpacing_ = Popup::buttonSpacing;
    Q_PROPERTY(double popupAboutSpacing MEMBER popupAboutSpacing_ CONSTANT)
    const double popupAboutSpacing_ = Popup::aboutSpacing;
    Q_PROPERTY(double popupAppIconSize MEMBER popupAppIconSize_ CONSTANT)
    const double popupAppIconSize_ = Popup::appIconSize;
    Q_PROPERTY(double popupAppNameFontSize MEMBER popupAppNameFontSize_ CONSTANT)
    const double popupAppNameFontSize_ = Popup::appNameFontSize;
    Q_PROPERTY(double popupLinksPaddingTop MEMBER popupLinksPaddingTop_ CONSTANT)
    const double popupLinksPaddingTop_ = Popup::linksPaddingTop;
    // The desktop's text styles the popup names: a headline and a caption.
    Q_PROPERTY(int headlineFontSize MEMBER headlineFontSize_ CONSTANT)
    const int headlineFontSize_ = 13;
    Q_PROPERTY(int captionFontSize MEMBER captionFontSize_ CONSTANT)
    const int captionFontSize_ = 10;

    // The panel's texts and the symbols it draws.
    Q_PROPERTY(QString title MEMBER title_ CONSTANT)
    const QString title_ = toQString(Dropdown::title);
    Q_PROPERTY(QString protectedAppsTitle MEMBER protectedAppsTitle_ CONSTANT)
    const QString protectedAppsTitle_ = toQString(Dropdown::protectedAppsTitle).toUpper();
    Q_PROPERTY(QString warningChevronSymbol MEMBER warningChevronSymbol_ CONSTANT)
    const QString warningChevronSymbol_ = toQString(Dropdown::warningChevronSymbol);
    Q_PROPERTY(QString emptySymbol MEMBER emptySymbol_ CONSTANT)
    const QString emptySymbol_ = toQString(Dropdown::emptySymbol);
    Q_PROPERTY(QString emptyText MEMBER emptyText_ CONSTANT)
    const QString emptyText_ = toQString(Dropdown::emptyText);
    Q_PROPERTY(QString addAppTitle MEMBER addAppTitle_ CONSTANT)
    const QString addAppTitle_ = toQString(Dropdown::addAppTitle);
    Q_PROPERTY(QString addAppSymbol MEMBER addAppSymbol_ CONSTANT)
    const QString addAppSymbol_ = toQString(Dropdown::addAppSymbol);
    Q_PROPERTY(QString lockAllTitle MEMBER lockAllTitle_ CONSTANT)
    const QString lockAllTitle_ = toQString(Dropdown::lockAllTitle);
    Q_PROPERTY(QString lockAllSymbol MEMBER lockAllSymbol_ CONSTANT)
    const QString lockAllSymbol_ = toQString(Dropdown::lockAllSymbol);
    Q_PROPERTY(QString settingsSymbol MEMBER settingsSymbol_ CONSTANT)
    const QString settingsSymbol_ = toQString(Dropdown::settingsSymbol);
    Q_PROPERTY(QString quitTitle MEMBER quitTitle_ CONSTANT)
    const QString quitTitle_ = toQString(Dropdown::quitTitle);
    Q_PROPERTY(QString keepListTitle MEMBER keepListTitle_ CONSTANT)
    const QString keepListTitle_ = toQString(Dropdown::keepListTitle);
    Q_PROPERTY(QString restoreListTitle MEMBER restoreListTitle_ CONSTANT)
    const QString restoreListTitle_ = toQString(Dropdown::restoreListTitle);
    Q_PROPERTY(QString dismissTitle MEMBER dismissTitle_ CONSTANT)
    const QString dismissTitle_ = toQString(Dropdown::dismissTitle);
    Q_PROPERTY(QString listNoticeSymbol MEMBER listNoticeSymbol_ CONSTANT)
    const QString listNoticeSymbol_ = toQString(Dropdown::listNoticeSymbol);
    Q_PROPERTY(QString saveFailureSymbol MEMBER saveFailureSymbol_ CONSTANT)
    const QString saveFailureSymbol_ = toQString(Dropdown::saveFailureSymbol);
    Q_PROPERTY(QString failedAttemptsSymbol MEMBER failedAttemptsSymbol_ CONSTANT)
    const QString failedAttemptsSymbol_ = toQString(Dropdown::failedAttemptsSymbol);

    // A row's texts and symbols.
    Q_PROPERTY(QString placeholderSymbol MEMBER placeholderSymbol_ CONSTANT)
    const QString placeholderSymbol_ = toQString(RowModel::placeholderSymbol);
    Q_PROPERTY(QString summarySeparator MEMBER summarySeparator_ CONSTANT)
    const QString summarySeparator_ = toQString(RowModel::summarySeparator);
    Q_PROPERTY(QString chevronSymbol MEMBER chevronSymbol_ CONSTANT)
    const QString chevronSymbol_ = toQString(RowModel::chevronSymbol);
    Q_PROPERTY(QString timeoutTitle MEMBER timeoutTitle_ CONSTANT)
    const QString timeoutTitle_ = toQString(RowModel::timeoutTitle);
    Q_PROPERTY(QString autoLockTitle MEMBER autoLockTitle_ CONSTANT)
    const QString autoLockTitle_ = toQString(RowModel::autoLockTitle);
    Q_PROPERTY(QString lockNowTitle MEMBER lockNowTitle_ CONSTANT)
    const QString lockNowTitle_ = toQString(RowModel::lockNowTitle);
    Q_PROPERTY(QString lockNowSymbol MEMBER lockNowSymbol_ CONSTANT)
    const QString lockNowSymbol_ = toQString(RowModel::lockNowSymbol);
    Q_PROPERTY(QString removeTitle MEMBER removeTitle_ CONSTANT)
    const QString removeTitle_ = toQString(RowModel::removeTitle);
    Q_PROPERTY(QString removeSymbol MEMBER removeSymbol_ CONSTANT)
    const QString removeSymbol_ = toQString(RowModel::removeSymbol);

    // The settings popup's texts and symbols.
    Q_PROPERTY(QString popupTitle MEMBER popupTitle_ CONSTANT)
    const QString popupTitle_ = toQString(Settings::title);
    Q_PROPERTY(QString generalSection MEMBER generalSection_ CONSTANT)
    const QString generalSection_ = toQString(Settings::generalSection);
    Q_PROPERTY(QString launchAtLoginTitle MEMBER launchAtLoginTitle_ CONSTANT)
    const QString launchAtLoginTitle_ = toQString(Settings::launchAtLoginTitle);
    Q_PROPERTY(QString launchAtLoginSubtitle MEMBER launchAtLoginSubtitle_ CONSTANT)
    const QString launchAtLoginSubtitle_ = toQString(Settings::launchAtLoginSubtitle);
    Q_PROPERTY(QString permissionsSection MEMBER permissionsSection_ CONSTANT)
    const QString permissionsSection_ = toQString(Settings::permissionsSection);
    Q_PROPERTY(QString accessibilitySettingsTitle MEMBER accessibilitySettingsTitle_ CONSTANT)
    const QString accessibilitySettingsTitle_ = toQString(Settings::accessibilitySettingsTitle);
    Q_PROPERTY(QString accessibilitySettingsSymbol MEMBER accessibilitySettingsSymbol_ CONSTANT)
    const QString accessibilitySettingsSymbol_ = toQString(Settings::accessibilitySettingsSymbol);
    Q_PROPERTY(QString inputMonitoringSettingsTitle MEMBER inputMonitoringSettingsTitle_ CONSTANT)
    const QString inputMonitoringSettingsTitle_ = toQString(Settings::inputMonitoringSettingsTitle);
    Q_PROPERTY(QString inputMonitoringSettingsSymbol MEMBER inputMonitoringSettingsSymbol_ CONSTANT)
    const QString inputMonitoringSettingsSymbol_ =
        toQString(Settings::inputMonitoringSettingsSymbol);
    Q_PROPERTY(QString updatesSection MEMBER updatesSection_ CONSTANT)
    const QString updatesSection_ = toQString(Settings::updatesSection);
    Q_PROPERTY(QString checkForUpdatesTitle MEMBER checkForUpdatesTitle_ CONSTANT)
    const QString checkForUpdatesTitle_ = toQString(Settings::checkForUpdatesTitle);
    Q_PROPERTY(QString checkForUpdatesSymbol MEMBER checkForUpdatesSymbol_ CONSTANT)
    const QString checkForUpdatesSymbol_ = toQString(Settings::checkForUpdatesSymbol);
    Q_PROPERTY(QString aboutSection MEMBER aboutSection_ CONSTANT)
    const QString aboutSection_ = toQString(Settings::aboutSection);
    Q_PROPERTY(QString appIconFallbackSymbol MEMBER appIconFallbackSymbol_ CONSTANT)
    const QString appIconFallbackSymbol_ = toQString(Settings::appIconFallbackSymbol);
    // The icon the package installs into the icon theme; none when run from a build tree.
    Q_PROPERTY(QString appIconSource MEMBER appIconSource_ CONSTANT)
    const QString appIconSource_ = ApplicationIconImageProvider::source(
        QStringLiteral("velmora"), Popup::appIconCornerRadius / Popup::appIconSize);
    Q_PROPERTY(QString appName MEMBER appName_ CONSTANT)
    const QString appName_ = toQString(Settings::appName);
    Q_PROPERTY(QString websiteTitle MEMBER websiteTitle_ CONSTANT)
    const QString websiteTitle_ = toQString(Settings::websiteTitle);
    Q_PROPERTY(QString websiteSymbol MEMBER websiteSymbol_ CONSTANT)
    const QString websiteSymbol_ = toQString(Settings::websiteSymbol);
    Q_PROPERTY(QString supportTitle MEMBER supportTitle_ CONSTANT)
    const QString supportTitle_ = toQString(Settings::supportTitle);
    Q_PROPERTY(QString supportSymbol MEMBER supportSymbol_ CONSTANT)
    const QString supportSymbol_ = toQString(Settings::supportSymbol);
};

} // namespace velmora
