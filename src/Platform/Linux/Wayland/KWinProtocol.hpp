#pragma once

#include "Platform/WindowList.hpp"
#include "Support/ProcessId.hpp"
#include "Support/Rect.hpp"

#include <QVariantList>
#include <QVariantMap>
#include <optional>
#include <string>
#include <vector>

namespace velmora::kwin {

/// What Velmora's KWin script (kwin/velmora.js) and Velmora say to each other over the
/// session bus. The script calls Velmora: "Hello" with its protocol version (answered with
/// Velmora's process id), "Facts" with what changed in the compositor, and "Commands", which
/// Velmora answers when it has something for the script to do. Both sides must speak the
/// same version; a script of another version is refused.
///
///     if (auto facts = parseFacts(message.arguments().value(0).toMap())) { apply(*facts); }
///     reply << QVariantList{place(token, window.number, frame, false)};
inline constexpr int kProtocolVersion = 1;
inline constexpr const char* kService = "com.tovren.velmora";
inline constexpr const char* kPath = "/KWin";
inline constexpr const char* kInterface = "com.tovren.velmora.KWin";
/// The title of Velmora's covers and cards, followed by a number of their own: the script
/// knows them by it (and by Velmora's process id) and places them.
inline constexpr const char* kShieldTitlePrefix = "velmora-shield-";

/// One window as the compositor knows it.
struct Window {
    /// The script's own number for it, stable while it lives; never 0.
    WindowNumber number = 0;
    ProcessId pid = 0;
    std::string desktopFile;
    std::string resourceClass;
    std::string resourceName;
    /// The frame in the compositor's coordinates (top-left origin, y downwards).
    Rect frame;
    /// Higher is nearer the front.
    int stacking = 0;
    /// 0 for normal windows, higher for windows kept above.
    int layer = 0;
    /// A normal window or a dialog, not a panel, menu or tooltip.
    bool normal = true;
    bool minimized = false;
    /// Shown on the current desktop and not minimized.
    bool visible = true;
    /// One of Velmora's own covers or cards.
    bool shield = false;
    /// The script keeps it hidden and off the keyboard.
    bool locked = false;

    friend bool operator==(const Window&, const Window&) = default;
};

/// A change the script reports.
struct Facts {
    /// Windows that appeared or changed.
    std::vector<Window> windows;
    std::vector<WindowNumber> closed;
    /// The window that became active (nullopt inside: none); absent when that did not change.
    std::optional<std::optional<WindowNumber>> active;
};

/// Nothing when `map` is not a report of the protocol; malformed windows are left out.
[[nodiscard]] std::optional<Facts> parseFacts(const QVariantMap& map);

/// Shows the shield titled `token` over `frame` (compositor coordinates), over window
/// `over` (0: over no window), keeping that window locked; `card` marks the lock card.
[[nodiscard]] QVariantMap place(const QString& token, WindowNumber over, Rect frame, bool card);
/// Puts the shield away, keeping its window ready for the next use.
[[nodiscard]] QVariantMap park(const QString& token);
/// The window is no longer locked: drawn and given the keyboard again.
[[nodiscard]] QVariantMap release(WindowNumber window);
[[nodiscard]] QVariantMap activate(WindowNumber window);
[[nodiscard]] QVariantMap hide(WindowNumber window);
/// The processes the script minimizes if Velmora vanishes.
[[nodiscard]] QVariantMap protect(const std::vector<ProcessId>& pids);
/// Velmora quits: every window is released.
[[nodiscard]] QVariantMap goodbye();

} // namespace velmora::kwin
