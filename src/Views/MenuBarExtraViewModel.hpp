#pragma once

#include "Platform/NotificationCenter.hpp"

#include <functional>
#include <memory>
#include <string_view>

namespace velmora {

/// The menu-bar extra scene: the icon in the system menu bar whose panel is the menu-bar
/// dropdown, and the listener that opens the settings window when the application delegate
/// asks for it.
///
///     MenuBarExtraViewModel scene(notifications, [&] { settingsWindow.show(); });
class MenuBarExtraViewModel {
public:
    static constexpr std::string_view title = "Velmora";
    static constexpr std::string_view systemImage = "lock.shield.fill";
    static constexpr const char* openSettingsRequested = "openSettingsRequested";

    /// `openSettings` opens the settings window, or brings it forward.
    MenuBarExtraViewModel(const std::shared_ptr<NotificationCenter>& notificationCenter,
                          std::function<void()> openSettings);

private:
    Subscription openSettingsObserver_;
};

} // namespace velmora
