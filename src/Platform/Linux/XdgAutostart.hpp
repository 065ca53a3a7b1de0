#pragma once

#include "Platform/LoginItems.hpp"

#include <string>

namespace velmora {

/// "Launch at Login" on freedesktop desktops: a desktop entry in the autostart directory,
/// `$XDG_CONFIG_HOME/autostart/com.tovren.velmora.desktop`.
///
///     XdgAutostart autostart(XdgAutostart::defaultDirectory(), "/usr/bin/velmora");
///     if (auto error = autostart.registerItem()) { systemLog.log(*error); }
///
/// The item counts as enabled while the file is an application entry that is not
/// `Hidden=true` (nor switched off with GNOME's `X-GNOME-Autostart-enabled=false`). It is
/// written atomically; errors read like "Permission denied: /home/me/.config/autostart".
class XdgAutostart final : public LoginItemService {
public:
    XdgAutostart(std::string directory, std::string executable);

    /// `$XDG_CONFIG_HOME/autostart`, or `~/.config/autostart`.
    [[nodiscard]] static std::string defaultDirectory();

    [[nodiscard]] bool isEnabled() const override;
    std::optional<std::string> registerItem() override;
    std::optional<std::string> unregisterItem() override;

    [[nodiscard]] std::string path() const;

private:
    std::string directory_;
    std::string executable_;
};

} // namespace velmora
