#include "Platform/Mac/MacPlatform.hpp"

#include "Platform/Mac/AppleValues.hpp"
#include "Platform/Mac/MacAccessibilityTrust.hpp"
#include "Platform/Mac/MacAlertPresenter.hpp"
#include "Platform/Mac/MacApplicationIcons.hpp"
#include "Platform/Mac/MacApplicationPicker.hpp"
#include "Platform/Mac/MacBundleReader.hpp"
#include "Platform/Mac/MacCoverWindows.hpp"
#include "Platform/Mac/MacEventTaps.hpp"
#include "Platform/Mac/MacHostApplication.hpp"
#include "Platform/Mac/MacLoginItemService.hpp"
#include "Platform/Mac/MacMainBundle.hpp"
#include "Platform/Mac/MacNotificationCenter.hpp"
#include "Platform/Mac/MacOwnerAuthentication.hpp"
#include "Platform/Mac/MacPasteboard.hpp"
#include "Platform/Mac/MacScreens.hpp"
#include "Platform/Mac/MacSparkleUpdater.hpp"
#include "Platform/Mac/MacStateStore.hpp"
#include "Platform/Mac/MacSystemLog.hpp"
#include "Platform/Mac/MacUrlOpener.hpp"
#include "Platform/Mac/MacUserDefaults.hpp"
#include "Platform/Mac/MacWindowList.hpp"
#include "Platform/Mac/MacWorkspace.hpp"

namespace velmora {

Platform makeMacPlatform(std::shared_ptr<RunLoop> runLoop,
                         std::shared_ptr<OverlayWindowFactory> overlayWindows) {
    return {
        .runLoop = runLoop,
        .timeProvider = std::make_shared<SystemTimeProvider>(),
        .monotonicClock = std::make_shared<SystemMonotonicClock>(),
        .logger = nullptr,
        .workspace = std::make_shared<MacWorkspace>(runLoop),
        .userDefaults = std::make_shared<MacUserDefaults>(),
        .bundleReader = std::make_shared<MacBundleReader>(),
        .ownerAuthentication = std::make_shared<MacOwnerAuthentication>(),
        .screens = std::make_shared<MacScreens>(),
        .overlayWindows = std::move(overlayWindows),
        .coverWindows = std::make_shared<MacCoverWindows>(),
        .updaterFactory = makeSparkleUpdaterFactory(runLoop),
        .windowList = std::make_shared<MacWindowList>(),
        .eventTaps = std::make_shared<MacEventTaps>(),
        .accessibility = std::make_shared<MacAccessibilityTrust>(),
        .hostApplication = std::make_shared<MacHostApplication>(runLoop),
        .notificationCenter =
            std::make_shared<MacNotificationCenter>(MacNotificationCenter::program, runLoop),
        .distributedNotifications =
            std::make_shared<MacNotificationCenter>(MacNotificationCenter::distributed, runLoop),
        .urlOpener = std::make_shared<MacUrlOpener>(),
        .systemAgents = appleSystemAgents(),
        .systemLog = std::make_shared<MacSystemLog>(),
        .mainBundle = std::make_shared<MacMainBundle>(),
        .loginItems = std::make_shared<MacLoginItemService>(),
        .pasteboard = std::make_shared<MacPasteboard>(),
        .applicationPicker = std::make_shared<MacApplicationPicker>(runLoop),
        .alerts = std::make_shared<MacAlertPresenter>(),
        .applicationIcons = std::make_shared<MacApplicationIcons>(),
        .stateStore = std::make_shared<MacStateStore>(),
    };
}

} // namespace velmora
