#include "Ui/QmlEngineSetup.hpp"

#include "Ui/ApplicationIconImageProvider.hpp"
#include "Ui/Colors.hpp"
#include "Ui/LockCardStyle.hpp"
#include "Ui/PanelStyle.hpp"
#include "Ui/PasswordPromptStyle.hpp"
#include "Ui/PermissionsViewAdaptor.hpp"
#include "Ui/RoundedPanelItem.hpp"
#include "Ui/SettingsStyle.hpp"
#include "Ui/SoftShadowItem.hpp"
#include "Ui/SymbolImageProvider.hpp"

#include <QQmlEngine>
#include <mutex>

namespace velmora {

namespace {

constexpr const char* kModule = "Velmora";

void registerTypes() {
    qmlRegisterSingletonType<LockCardStyle>(
        kModule, 1, 0, "LockCardStyle",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new LockCardStyle; });
    qmlRegisterSingletonType<Colors>(
        kModule, 1, 0, "Colors", [](QQmlEngine*, QJSEngine*) -> QObject* { return new Colors; });
    qmlRegisterSingletonType<SettingsStyle>(
        kModule, 1, 0, "SettingsStyle",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new SettingsStyle; });
    qmlRegisterUncreatableType<PermissionsViewAdaptor>(kModule, 1, 0, "PermissionsViewAdaptor",
                                                       QStringLiteral("Given by the program"));
    qmlRegisterSingletonType<PanelStyle>(
        kModule, 1, 0, "PanelStyle",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new PanelStyle; });
    qmlRegisterSingletonType<PasswordPromptStyle>(
        kModule, 1, 0, "PasswordPromptStyle",
        [](QQmlEngine*, QJSEngine*) -> QObject* { return new PasswordPromptStyle; });
    qmlRegisterType<RoundedPanelItem>(kModule, 1, 0, "RoundedPanel");
    qmlRegisterType<SoftShadowItem>(kModule, 1, 0, "SoftShadow");
}

} // namespace

void prepareQmlEngine(QQmlEngine& engine) {
    static std::once_flag registered;
    std::call_once(registered, registerTypes);
    if (!engine.imageProvider(SymbolImageProvider::providerId)) {
        engine.addImageProvider(SymbolImageProvider::providerId, new SymbolImageProvider);
    }
    if (!engine.imageProvider(ApplicationIconImageProvider::providerId)) {
        engine.addImageProvider(ApplicationIconImageProvider::providerId,
                                new ApplicationIconImageProvider);
    }
}

} // namespace velmora
