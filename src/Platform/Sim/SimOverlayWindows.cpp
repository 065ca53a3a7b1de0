#include "Platform/Sim/SimOverlayWindows.hpp"

#include <algorithm>

namespace velmora {

void SimOverlayWindow::show(Rect frame, std::shared_ptr<OverlayContent> content) {
    frame_ = frame;
    content_ = std::move(content);
    visible_ = true;
}

// Each click keeps the content alive: what a button does may replace it.

bool SimOverlayWindow::pressUnlock() {
    if (!visible_) {
        return false;
    }
    const auto content = content_;
    content->unlockTapped();
    return true;
}

bool SimOverlayWindow::pressMinimize() {
    if (!visible_ || !content_->hasMinimizeButton()) {
        return false;
    }
    const auto content = content_;
    content->minimizeTapped();
    return true;
}

bool SimOverlayWindow::clickBackground() {
    if (!visible_) {
        return false;
    }
    const auto content = content_;
    content->backgroundTapped();
    return true;
}

std::shared_ptr<OverlayWindow> SimOverlayWindowFactory::makeWindow() {
    return windows_.emplace_back(std::make_shared<SimOverlayWindow>());
}

std::size_t SimOverlayWindowFactory::visibleWindowCount() const {
    return static_cast<std::size_t>(std::count_if(
        windows_.begin(), windows_.end(), [](const auto& window) { return window->isVisible(); }));
}

} // namespace velmora
