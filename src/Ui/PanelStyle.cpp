#include "Ui/PanelStyle.hpp"

#include "Ui/QtColor.hpp"
#include "Views/MenuBarDropdownStyle.hpp"
#include "Views/MenuBarDropdownViewModel.hpp"
#include "Views/ProtectedAppRowStyle.hpp"
#include "Views/SettingsPopupStyle.hpp"
#include "Views/ViewPalette.hpp"

namespace velmora {

namespace {

QString text(std::string_view value) {
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

} // namespace

QColor PanelStyle::color(NamedColor name) {
    switch (name) {
    case NamedColor::primary:
        return Qt::white;
    case NamedColor::secondary:
        return QColor::fromRgbF(1, 1, 1, 0.55F);
    case NamedColor::tertiary:
        return QColor::fromRgbF(1, 1, 1, 0.3F);
    case NamedColor::accent:
        return toQColor(ViewPalette::accent);
    case NamedColor::red:
        return {255, 69, 58};
    case NamedColor::orange:
        return {255, 159, 10};
    case NamedColor::yellow:
        return {255, 214, 10};
    case NamedColor::green:
        return {50, 215, 75};
    case NamedColor::blue:
        return {10, 132, 255};
    case NamedColor::gray:
        break;
    }
    return {152, 152, 157};
}

PanelStyle::PanelStyle(QObject* parent) : QQmlPropertyMap(this, parent) {
    using Menu = MenuBarDropdownStyle;
    using Row = ProtectedAppRowStyle;
    using Popup = SettingsPopupStyle;
    using Dropdown = MenuBarDropdownViewModel;
    using RowModel = ProtectedAppRowViewModel;
    using Settings = SettingsPopupViewModel;

    const std::initializer_list<std::pair<const char*, QVariant>> values = {
        // The panel's material and the desktop's named colours on it.
        {"material", QVariant::fromValue(QColor(30, 30, 36))},
        {"popover", QVariant::fromValue(QColor(40, 40, 48))},
        {"controlFill", QVariant::fromValue(QColor(58, 58, 68))},
        {"primary", color(NamedColor::primary)},
        {"secondary", color(NamedColor::secondary)},
        {"tertiary", color(NamedColor::tertiary)},
        {"divider", QVariant::fromValue(QColor::fromRgbF(1, 1, 1, 0.35F))},
        {"red", color(NamedColor::red)},
        {"green", color(NamedColor::green)},
        {"yellow", color(NamedColor::yellow)},
        {"orange", color(NamedColor::orange)},
        {"blue", color(NamedColor::blue)},
        {"gray", color(NamedColor::gray)},
        {"accent", color(NamedColor::accent)},
        {"accentFill", QVariant::fromValue(toQColor(ViewPalette::accentFill))},
        {"unlocked", QVariant::fromValue(toQColor(ViewPalette::unlocked))},
        {"unlockedFill", QVariant::fromValue(toQColor(ViewPalette::unlockedFill))},

        {"width", Menu::width},
        {"horizontalPadding", Menu::horizontalPadding},
        {"sectionPadding", Menu::sectionPadding},
        {"bottomBarPaddingBottom", Menu::bottomBarPaddingBottom},
        {"dividerOpacity", Menu::dividerOpacity},
        {"titleFontSize", Menu::titleFontSize},
        {"statusDotSize", Menu::statusDotSize},
        {"statusSpacing", Menu::statusSpacing},
        {"statusFontSize", Menu::statusFontSize},
        {"notProtectedOpacity", Menu::notProtectedOpacity},
        {"warningSpacing", Menu::warningSpacing},
        {"warningPaddingVertical", Menu::warningPaddingVertical},
        {"warningBandOpacity", Menu::warningBandOpacity},
        {"warningIconSize", Menu::warningIconSize},
        {"warningTitleFontSize", Menu::warningTitleFontSize},
        {"warningSubtitleFontSize", Menu::warningSubtitleFontSize},
        {"warningSubtitleOpacity", Menu::warningSubtitleOpacity},
        {"warningChevronSize", Menu::warningChevronSize},
        {"warningChevronOpacity", Menu::warningChevronOpacity},
        {"noticeButtonPaddingHorizontal", Menu::noticeButtonPaddingHorizontal},
        {"noticeButtonPaddingVertical", Menu::noticeButtonPaddingVertical},
        {"noticeButtonFillOpacity", Menu::noticeButtonFillOpacity},
        {"sectionFontSize", Menu::sectionFontSize},
        {"sectionTracking", Menu::sectionTracking},
        {"listMaximumHeight", Menu::listMaximumHeight},
        {"rowDividerPadding", Menu::rowDividerPadding},
        {"emptySymbolSize", Menu::emptySymbolSize},
        {"emptySpacing", Menu::emptySpacing},
        {"emptyPaddingVertical", Menu::emptyPaddingVertical},
        {"actionSpacing", Menu::actionSpacing},
        {"actionFontSize", Menu::actionFontSize},
        {"actionPaddingHorizontal", Menu::actionPaddingHorizontal},
        {"actionPaddingVertical", Menu::actionPaddingVertical},
        {"actionCornerRadius", Menu::actionCornerRadius},
        {"lockAllFillOpacity", Menu::lockAllFillOpacity},
        {"disabledOpacity", Menu::disabledOpacity},
        {"gearSize", Menu::gearSize},

        {"rowCornerRadius", Row::cornerRadius},
        {"rowFillOpacity", Row::fillOpacity},
        {"rowLineSpacing", Row::lineSpacing},
        {"rowLinePaddingVertical", Row::linePaddingVertical},
        {"rowLinePaddingHorizontal", Row::linePaddingHorizontal},
        {"rowIconSize", Row::iconSize},
        {"rowIconCornerRadius", Row::iconCornerRadius},
        {"rowIconShadowOpacity", Row::iconShadowOpacity},
        {"rowIconShadowRadius", Row::iconShadowRadius},
        {"rowPlaceholderFillOpacity", Row::placeholderFillOpacity},
        {"rowPlaceholderSymbolSize", Row::placeholderSymbolSize},
        {"rowFontSize", Row::fontSize},
        {"badgeSymbolSize", Row::badgeSymbolSize},
        {"badgePaddingHorizontal", Row::badgePaddingHorizontal},
        {"badgePaddingVertical", Row::badgePaddingVertical},
        {"badgeCornerRadius", Row::badgeCornerRadius},
        {"inactiveFillOpacity", Row::inactiveFillOpacity},
        {"expandAnimationMs", static_cast<int>(Row::expandAnimationSeconds * 1000)},
        {"controlsSpacing", Row::controlsSpacing},
        {"rowDividerOpacity", Row::dividerOpacity},
        {"rowDividerInset", Row::dividerPadding},
        {"controlsPaddingHorizontal", Row::controlsPaddingHorizontal},
        {"pickerWidth", Row::pickerWidth},
        {"switchScale", Row::switchScale},
        {"buttonsSpacing", Row::buttonsSpacing},
        {"buttonLabelSpacing", Row::buttonLabelSpacing},
        {"buttonsPaddingBottom", Row::buttonsPaddingBottom},
        {"progressSize", Row::progressSize},
        {"removeOpacity", Row::removeOpacity},

        {"popupWidth", Popup::width},
        {"popupTitlePaddingHorizontal", Popup::titlePaddingHorizontal},
        {"popupTitlePaddingTop", Popup::titlePaddingTop},
        {"popupTitlePaddingBottom", Popup::titlePaddingBottom},
        {"popupMaximumScrollHeight", Popup::maximumScrollHeight},
        {"popupSectionSpacing", Popup::sectionSpacing},
        {"popupContentPaddingHorizontal", Popup::contentPaddingHorizontal},
        {"popupContentPaddingVertical", Popup::contentPaddingVertical},
        {"popupSwitchTitleFontSize", Popup::switchTitleFontSize},
        {"popupSwitchSubtitleFontSize", Popup::switchSubtitleFontSize},
        {"popupButtonSymbolSize", Popup::buttonSymbolSize},
        {"popupButtonSymbolWidth", Popup::buttonSymbolWidth},
        {"popupButtonFontSize", Popup::buttonFontSize},
        {"popupButtonSpacing", Popup::buttonSpacing},
        {"popupAboutSpacing", Popup::aboutSpacing},
        {"popupAppIconSize", Popup::appIconSize},
        {"popupAppIconCornerRadius", Popup::appIconCornerRadius},
        {"popupAppNameFontSize", Popup::appNameFontSize},
        {"popupLinksPaddingTop", Popup::linksPaddingTop},
        // The desktop's text styles the popup names: a headline and a caption.
        {"headlineFontSize", 13},
        {"captionFontSize", 10},

        {"title", text(Dropdown::title)},
        {"protectedAppsTitle", text(Dropdown::protectedAppsTitle).toUpper()},
        {"warningChevronSymbol", text(Dropdown::warningChevronSymbol)},
        {"emptySymbol", text(Dropdown::emptySymbol)},
        {"emptyText", text(Dropdown::emptyText)},
        {"addAppTitle", text(Dropdown::addAppTitle)},
        {"addAppSymbol", text(Dropdown::addAppSymbol)},
        {"lockAllTitle", text(Dropdown::lockAllTitle)},
        {"lockAllSymbol", text(Dropdown::lockAllSymbol)},
        {"settingsSymbol", text(Dropdown::settingsSymbol)},
        {"quitTitle", text(Dropdown::quitTitle)},
        {"keepListTitle", text(Dropdown::keepListTitle)},
        {"restoreListTitle", text(Dropdown::restoreListTitle)},
        {"dismissTitle", text(Dropdown::dismissTitle)},
        {"listNoticeSymbol", text(Dropdown::listNoticeSymbol)},
        {"saveFailureSymbol", text(Dropdown::saveFailureSymbol)},
        {"failedAttemptsSymbol", text(Dropdown::failedAttemptsSymbol)},

        {"placeholderSymbol", text(RowModel::placeholderSymbol)},
        {"summarySeparator", text(RowModel::summarySeparator)},
        {"chevronSymbol", text(RowModel::chevronSymbol)},
        {"timeoutTitle", text(RowModel::timeoutTitle)},
        {"autoLockTitle", text(RowModel::autoLockTitle)},
        {"lockNowTitle", text(RowModel::lockNowTitle)},
        {"lockNowSymbol", text(RowModel::lockNowSymbol)},
        {"removeTitle", text(RowModel::removeTitle)},
        {"removeSymbol", text(RowModel::removeSymbol)},

        {"popupTitle", text(Settings::title)},
        {"generalSection", text(Settings::generalSection)},
        {"launchAtLoginTitle", text(Settings::launchAtLoginTitle)},
        {"launchAtLoginSubtitle", text(Settings::launchAtLoginSubtitle)},
        {"permissionsSection", text(Settings::permissionsSection)},
        {"accessibilitySettingsTitle", text(Settings::accessibilitySettingsTitle)},
        {"accessibilitySettingsSymbol", text(Settings::accessibilitySettingsSymbol)},
        {"inputMonitoringSettingsTitle", text(Settings::inputMonitoringSettingsTitle)},
        {"inputMonitoringSettingsSymbol", text(Settings::inputMonitoringSettingsSymbol)},
        {"updatesSection", text(Settings::updatesSection)},
        {"checkForUpdatesTitle", text(Settings::checkForUpdatesTitle)},
        {"checkForUpdatesSymbol", text(Settings::checkForUpdatesSymbol)},
        {"aboutSection", text(Settings::aboutSection)},
        {"appIconFallbackSymbol", text(Settings::appIconFallbackSymbol)},
        {"appName", text(Settings::appName)},
        {"websiteTitle", text(Settings::websiteTitle)},
        {"websiteSymbol", text(Settings::websiteSymbol)},
        {"supportTitle", text(Settings::supportTitle)},
        {"supportSymbol", text(Settings::supportSymbol)},
    };
    for (const auto& [key, value] : values) {
        insert(QString::fromLatin1(key), value);
    }
    freeze();
}

} // namespace velmora
