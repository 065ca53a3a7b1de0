#pragma once

#include "Core/Overlay/LockBackgroundView.hpp"
#include "Core/Overlay/LockCardView.hpp"
#include "Platform/OverlayWindows.hpp"

namespace velmora {

/// The root of an overlay window's content: the dark cover filling the window, with the lock
/// card at its own size in the centre.
///
///     auto content = std::make_shared<OverlayContentView>("Notes", unlock, minimize, contexts);
///     content->card().unlockTapped();
class OverlayContentView final : public OverlayContent {
public:
    using Action = LockCardView::Action;

    /// Opaque and square-cornered rather than a dimming veil: nothing of a locked window may
    /// show through the cover or beside it, even under a compositor.
    static constexpr double backgroundOpacity = 1.0;

    /// An empty `onCancelTapped` shows no Minimize button; without `failedAttempts` no wait
    /// is shown.
    OverlayContentView(std::string appName, Action onUnlockTapped, Action onCancelTapped,
                       OwnerAuthenticationContextFactory biometryContexts,
                       std::shared_ptr<FailedAttempts> failedAttempts = nullptr);

    [[nodiscard]] const std::string& appName() const override { return card_.appName; }
    [[nodiscard]] std::string unlockTitle() const override { return card_.unlockTitle(); }
    [[nodiscard]] std::string unlockSymbol() const override {
        return std::string(card_.unlockSymbol());
    }
    [[nodiscard]] bool hasMinimizeButton() const override { return card_.hasMinimizeButton(); }
    [[nodiscard]] std::string unlockWaitText() const override {
        return card_.unlockWaitText().value_or("");
    }
    [[nodiscard]] Subscription observeUnlockWait(std::function<void()> handler) override;
    void unlockTapped() override { card_.unlockTapped(); }
    void minimizeTapped() override { card_.minimizeTapped(); }
    void backgroundTapped() override { background_.tapped(); }

    [[nodiscard]] const LockBackgroundView& background() const { return background_; }
    [[nodiscard]] const LockCardView& card() const { return card_; }
    /// For the view state (hover, press) that the drawing layer keeps on the card.
    [[nodiscard]] LockCardView& card() { return card_; }

private:
    LockBackgroundView background_;
    LockCardView card_;
};

} // namespace velmora
