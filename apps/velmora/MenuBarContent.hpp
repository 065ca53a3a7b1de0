#pragma once

#include <QObject>
#include <memory>

namespace velmora {

class MenuBarDropdownViewModel;
class MenuBarPanel;

/// The tray panel's content: the dropdown view model over the process-wide state, with the
/// platform's application picker, alerts, login item and application icons, shown in `panel`
/// and refreshed each time the panel opens.
///
///     MenuBarContent content(scenes.panel());   // the panel must outlive it
class MenuBarContent {
public:
    explicit MenuBarContent(MenuBarPanel& panel);
    ~MenuBarContent();
    MenuBarContent(const MenuBarContent&) = delete;
    MenuBarContent& operator=(const MenuBarContent&) = delete;

private:
    MenuBarPanel& panel_;
    std::shared_ptr<MenuBarDropdownViewModel> model_;
    QObject context_;
};

} // namespace velmora
