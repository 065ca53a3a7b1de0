#include "Views/MenuBarExtraViewModel.hpp"

namespace velmora {

MenuBarExtraViewModel::MenuBarExtraViewModel(
    const std::shared_ptr<NotificationCenter>& notificationCenter,
    std::function<void()> openSettings)
    : openSettingsObserver_(
          notificationCenter->addObserver(openSettingsRequested, std::move(openSettings))) {}

} // namespace velmora
