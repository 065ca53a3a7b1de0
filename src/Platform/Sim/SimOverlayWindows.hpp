#pragma once

#include "Platform/OverlayWindows.hpp"

#include <cstddef>
#include <memory>
#include <vector>

namespace velmora {

/// A simulated overlay window: its settings, plus what was done to it, for tests to read back.
///
///     auto window = factory->windows().front();
///     EXPECT_EQ(window->levelsSet(), (std::vector<WindowLevel>{8, 8}));
///     window->pressUnlock();
class SimOverlayWindow final : public OverlayWindow {
public:
    struct Creation {
        Rect contentRect;
        WindowStyleMask styleMask = kWindowStyleMaskBorderless;
        BackingStoreType backing = BackingStoreType::buffered;
        bool defer = false;
    };
    struct FrameChange {
        Rect frame;
        bool display = false;
    };

    explicit SimOverlayWindow(Creation creation);

    void setOpaque(bool opaque) override { opaque_ = opaque; }
    void setBackgroundColor(Color color) override { backgroundColor_ = color; }
    void setHasShadow(bool hasShadow) override { hasShadow_ = hasShadow; }
    void setLevel(WindowLevel level) override;
    void setCollectionBehavior(WindowCollectionBehavior behavior) override {
        collectionBehavior_ = behavior;
    }
    void setReleasedWhenClosed(bool released) override { releasedWhenClosed_ = released; }
    void setIgnoresMouseEvents(bool ignores) override { ignoresMouseEvents_ = ignores; }

    void setFrame(Rect frame, bool display) override;
    [[nodiscard]] std::optional<Rect> contentViewBounds() const override;
    void setContentView(std::shared_ptr<OverlayHostingView> view) override;

    void orderFrontRegardless() override;
    void orderOut() override;
    [[nodiscard]] bool isVisible() const override { return visible_; }

    [[nodiscard]] bool canBecomeKeyWindow() const override { return false; }
    [[nodiscard]] bool canBecomeMainWindow() const override { return false; }

    /// Clicks the lock card's Unlock button. False when the window is not on screen or shows
    /// no card.
    bool pressUnlock();
    /// Clicks the lock card's Minimize button. False also when there is no card or the card
    /// has none.
    bool pressMinimize();
    /// Clicks the dark cover outside the card; the cover swallows it. False when not on screen.
    bool clickBackground();

    [[nodiscard]] const Creation& creation() const { return creation_; }
    [[nodiscard]] bool isOpaque() const { return opaque_; }
    [[nodiscard]] Color backgroundColor() const { return backgroundColor_; }
    [[nodiscard]] bool hasShadow() const { return hasShadow_; }
    [[nodiscard]] WindowLevel level() const { return level_; }
    /// Every level set, in order.
    [[nodiscard]] const std::vector<WindowLevel>& levelsSet() const { return levelsSet_; }
    [[nodiscard]] WindowCollectionBehavior collectionBehavior() const {
        return collectionBehavior_;
    }
    [[nodiscard]] bool isReleasedWhenClosed() const { return releasedWhenClosed_; }
    [[nodiscard]] bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    [[nodiscard]] Rect frame() const { return frame_; }
    /// Every `setFrame`, in order (not the frame given at creation).
    [[nodiscard]] const std::vector<FrameChange>& framesSet() const { return framesSet_; }
    [[nodiscard]] const std::shared_ptr<OverlayHostingView>& contentView() const {
        return contentView_;
    }
    [[nodiscard]] std::size_t contentViewsInstalled() const { return contentViewsInstalled_; }
    [[nodiscard]] std::size_t orderFrontCount() const { return orderFrontCount_; }
    [[nodiscard]] std::size_t orderOutCount() const { return orderOutCount_; }
    /// Clicks that reached the window's content.
    [[nodiscard]] std::size_t clicksReceived() const { return clicksReceived_; }

private:
    bool canBeClicked() const { return visible_ && contentView_ && contentView_->rootView; }

    Creation creation_;
    bool opaque_ = true;
    Color backgroundColor_ = Color::white();
    bool hasShadow_ = true;
    WindowLevel level_ = kNormalWindowLevel;
    std::vector<WindowLevel> levelsSet_;
    WindowCollectionBehavior collectionBehavior_ = 0;
    bool releasedWhenClosed_ = true;
    bool ignoresMouseEvents_ = false;
    Rect frame_;
    std::vector<FrameChange> framesSet_;
    std::shared_ptr<OverlayHostingView> contentView_;
    std::size_t contentViewsInstalled_ = 0;
    bool visible_ = false;
    std::size_t orderFrontCount_ = 0;
    std::size_t orderOutCount_ = 0;
    std::size_t clicksReceived_ = 0;
};

/// Makes simulated overlay windows and keeps every one it made.
class SimOverlayWindowFactory final : public OverlayWindowFactory {
public:
    [[nodiscard]] std::shared_ptr<OverlayWindow> makeWindow(Rect contentRect,
                                                            WindowStyleMask styleMask,
                                                            BackingStoreType backing,
                                                            bool defer) override;

    /// In the order made.
    [[nodiscard]] const std::vector<std::shared_ptr<SimOverlayWindow>>& windows() const {
        return windows_;
    }
    [[nodiscard]] std::size_t windowCount() const { return windows_.size(); }
    [[nodiscard]] std::size_t visibleWindowCount() const;

private:
    std::vector<std::shared_ptr<SimOverlayWindow>> windows_;
};

} // namespace velmora
