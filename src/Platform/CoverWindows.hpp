#pragma once

#include "Platform/WindowList.hpp"
#include "Support/Rect.hpp"

#include <memory>
#include <optional>

namespace velmora {

/// Where a cover goes: over one window's frame, directly above that window, so that the
/// windows stacked above it stay above the cover and stay usable.
struct CoverPlacement {
    /// The covered window; absent puts the cover above every window.
    std::optional<WindowNumber> above;
    /// The window's frame in placement coordinates (origin bottom-left, y upwards).
    Rect frame;
    /// The covered window's layer, which the cover shares where layers order windows.
    int layer = 0;

    friend bool operator==(const CoverPlacement&, const CoverPlacement&) = default;
};

/// A plain, opaque, rectangular cover over one window of a locked application: nothing of
/// the window shows through it or beside it, and every pointer event over the window's frame
/// (clicks, the wheel, drags) lands on the cover. It never takes the focus. Where the window
/// system lets a program take the keyboard as the focus enters a window, the cover does so
/// for the window it covers, so that no key reaches it.
///
///     auto cover = factory.makeCover();
///     cover->show({entry.number, frame, *entry.layer});   // again when it moves or is restacked
///     cover->hide();
class CoverWindow {
public:
    virtual ~CoverWindow() = default;
    /// Shows the cover at `placement`, or moves and restacks it there; never activates this
    /// application.
    virtual void show(const CoverPlacement& placement) = 0;
    virtual void hide() = 0;
    [[nodiscard]] virtual bool isVisible() const = 0;
};

/// Makes covers; never answers null. Covers are cheap to keep: a hidden one is reused.
class CoverWindowFactory {
public:
    virtual ~CoverWindowFactory() = default;
    [[nodiscard]] virtual std::unique_ptr<CoverWindow> makeCover() = 0;
};

} // namespace velmora
