#pragma once

#include "Platform/OverlayWindows.hpp"

#include <cstddef>
#include <memory>
#include <vector>

namespace velmora {

/// A simulated lock card's window: where it is, what it shows, and clicks on it.
///
///     auto window = factory->windows().front();
///     EXPECT_EQ(window->frame(), (Rect{0, 0, 800, 600}));
///     window->pressUnlock();
class SimOverlayWindow final : public OverlayWindow {
public:
    void show(Rect frame, std::shared_ptr<OverlayContent> content) override;
    void hide() override { visible_ = false; }
    [[nodiscard]] bool isVisible() const override { return visible_; }

    /// Clicks the lock card's Unlock button. False when the window is not on screen.
    bool pressUnlock();
    /// Clicks the lock card's Minimize button. False also when the card has none.
    bool pressMinimize();
    /// Clicks the dark cover outside the card; the cover swallows it. False when not on screen.
    bool clickBackground();

    [[nodiscard]] Rect frame() const { return frame_; }
    /// What it shows, or showed last; null before it was first shown.
    [[nodiscard]] const std::shared_ptr<OverlayContent>& content() const { return content_; }

private:
    Rect frame_;
    std::shared_ptr<OverlayContent> content_;
    bool visible_ = false;
};

/// Makes simulated overlay windows and keeps every one it made.
class SimOverlayWindowFactory final : public OverlayWindowFactory {
public:
    [[nodiscard]] std::shared_ptr<OverlayWindow> makeWindow() override;

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
