#pragma once

#include "Support/Rect.hpp"
#include "Support/Subscription.hpp"

#include <functional>
#include <memory>
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

/// The window of a lock card: borderless, showing an overlay's content (the card over its
/// dark cover) above every application window, on every desktop space and beside full-screen
/// applications. It never becomes the key or the main window and discards the keys delivered
/// to it; every pointer event over it reaches its content, never the window beneath. Covers
/// without a card are CoverWindows.
///
///     auto card = factory.makeWindow();
///     card->show(frame, content);   // again to move it and put in a new card
///     card->hide();
class OverlayWindow {
public:
    virtual ~OverlayWindow() = default;

    /// Shows `content` over `frame` (placement coordinates: origin bottom-left, y upwards) in
    /// front, without activating this application. A content that is not the one shown is
    /// built afresh, its hover and press state new.
    virtual void show(Rect frame, std::shared_ptr<OverlayContent> content) = 0;
    virtual void hide() = 0;
    [[nodiscard]] virtual bool isVisible() const = 0;
};

/// Makes overlay windows, hidden; never answers null.
class OverlayWindowFactory {
public:
    virtual ~OverlayWindowFactory() = default;
    [[nodiscard]] virtual std::shared_ptr<OverlayWindow> makeWindow() = 0;
};

} // namespace velmora
