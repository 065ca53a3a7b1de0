#pragma once

#include "Support/Color.hpp"
#include "Support/Rect.hpp"
#include "Support/Subscription.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

/// What an overlay window shows over a locked application, and what its controls do. The
/// window draws it and hands every click on it here, so nothing beneath is reached.
class OverlayContent {
public:
    virtual ~OverlayContent() = default;

    [[nodiscard]] virtual const std::string& appName() const = 0;
    /// E.g. "Unlock with Touch ID", and its symbol, e.g. "touchid".
    [[nodiscard]] virtual std::string unlockTitle() const = 0;
    [[nodiscard]] virtual std::string unlockSymbol() const = 0;
    [[nodiscard]] virtual bool hasMinimizeButton() const = 0;
    /// While failed attempts make the owner wait, e.g. "Try again in 30 s", and the Unlock
    /// button does nothing; empty otherwise.
    [[nodiscard]] virtual std::string unlockWaitText() const { return {}; }
    /// `handler` runs whenever `unlockWaitText` changes.
    [[nodiscard]] virtual Subscription observeUnlockWait(std::function<void()> /*handler*/) {
        return {};
    }

    /// Nothing without a card.
    virtual void unlockTapped() = 0;
    /// Nothing when there is no Minimize button.
    virtual void minimizeTapped() = 0;
    /// A click on the dark cover outside the card: consumed, with no effect.
    virtual void backgroundTapped() = 0;
};

using WindowStyleMask = std::uint64_t;
inline constexpr WindowStyleMask kWindowStyleMaskBorderless = 0;

enum class BackingStoreType : int { retained = 0, nonretained = 1, buffered = 2 };

using WindowLevel = int;
inline constexpr WindowLevel kNormalWindowLevel = 0;
/// Above normal and floating windows.
inline constexpr WindowLevel kModalPanelWindowLevel = 8;

using WindowCollectionBehavior = std::uint64_t;
inline constexpr WindowCollectionBehavior kCollectionBehaviorCanJoinAllSpaces = 1;
inline constexpr WindowCollectionBehavior kCollectionBehaviorFullScreenAuxiliary = 256;

using AutoresizingMask = std::uint64_t;
inline constexpr AutoresizingMask kViewWidthSizable = 2;
inline constexpr AutoresizingMask kViewHeightSizable = 16;

/// The view tree a window shows: the overlay content, placed in the window.
struct OverlayHostingView {
    std::shared_ptr<OverlayContent> rootView;
    Rect frame;
    AutoresizingMask autoresizingMask = 0;
};

/// A borderless window that covers a locked application. It never becomes the key or the
/// main window, and discards key-down and modifier-key events delivered to it; mouse events
/// reach its content unless it is set to ignore them.
class OverlayWindow {
public:
    virtual ~OverlayWindow() = default;

    virtual void setOpaque(bool opaque) = 0;
    virtual void setBackgroundColor(Color color) = 0;
    virtual void setHasShadow(bool hasShadow) = 0;
    virtual void setLevel(WindowLevel level) = 0;
    virtual void setCollectionBehavior(WindowCollectionBehavior behavior) = 0;
    virtual void setReleasedWhenClosed(bool released) = 0;
    virtual void setIgnoresMouseEvents(bool ignores) = 0;

    virtual void setFrame(Rect frame, bool display) = 0;
    /// The bounds of the installed content view; none while no content view is installed.
    [[nodiscard]] virtual std::optional<Rect> contentViewBounds() const = 0;
    virtual void setContentView(std::shared_ptr<OverlayHostingView> view) = 0;

    /// Shows the window in front without activating this application.
    virtual void orderFrontRegardless() = 0;
    virtual void orderOut() = 0;
    [[nodiscard]] virtual bool isVisible() const = 0;

    [[nodiscard]] virtual bool canBecomeKeyWindow() const = 0;
    [[nodiscard]] virtual bool canBecomeMainWindow() const = 0;
};

/// Makes overlay windows; never answers null.
class OverlayWindowFactory {
public:
    virtual ~OverlayWindowFactory() = default;
    [[nodiscard]] virtual std::shared_ptr<OverlayWindow> makeWindow(Rect contentRect,
                                                                    WindowStyleMask styleMask,
                                                                    BackingStoreType backing,
                                                                    bool defer) = 0;
};

} // namespace velmora
