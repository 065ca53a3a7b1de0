#pragma once

#include <optional>
#include <string>
#include <vector>

namespace velmora {

enum class AppWindowKind { standard, openPanel, savePanel };

/// One of the program's own windows (its panel, settings window, file pickers).
struct AppWindow {
    int id = 0;
    AppWindowKind kind = AppWindowKind::standard;
    bool visible = false;
    int level = 0;
};

/// The program's own application object.
class HostApplication {
public:
    virtual ~HostApplication() = default;

    /// The program's bundle identifier; absent when it runs outside a bundle.
    [[nodiscard]] virtual std::optional<std::string> bundleIdentifier() const = 0;
    /// Every window the program has, visible or not.
    [[nodiscard]] virtual std::vector<AppWindow> windows() const = 0;
};

} // namespace velmora
