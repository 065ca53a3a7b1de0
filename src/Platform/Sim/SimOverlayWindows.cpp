#include "Platform/Sim/SimOverlayWindows.hpp"

#include <algorithm>
#include <iterator>

namespace velmora {

SimOverlayWindow::SimOverlayWindow(Creation creation)
    : creation_(creation), frame_(creation.contentRect) {}

void SimOverlayWindow::setLevel(WindowLevel level) {
    level_ = level;
    levelsSet_.push_back(level);
}

void SimOverlayWindow::setFrame(Rect frame, bool display) {
    frame_ = frame;
    framesSet_.push_back({frame, display});
}

std::optional<Rect> SimOverlayWindow::contentViewBounds() const {
    // A borderless window's content view fills it.
    if (!contentView_) {
        return std::nullopt;
    }
    return Rect{0, 0, frame_.width, frame_.height};
}

void SimOverlayWindow::setContentView(std::shared_ptr<OverlayHostingView> view) {
    contentView_ = std::move(view);
    ++contentViewsInstalled_;
}

void SimOverlayWindow::orderFrontRegardless() {
    visible_ = true;
    ++orderFrontCount_;
}

void SimOverlayWindow::orderOut() {
    visible_ = false;
    ++orderOutCount_;
}

bool SimOverlayWindow::pressUnlock() {
    if (ignoresMouseEvents_ || !canBeClicked()) {
        return false;
    }
    ++clicksReceived_;
    // The content may be replaced by what the button does; keep it alive meanwhile.
    const auto content = contentView_->rootView;
    content->unlockTapped();
    return true;
}

bool SimOverlayWindow::pressMinimize() {
    if (ignoresMouseEvents_ || !canBeClicked() || !contentView_->rootView->hasMinimizeButton()) {
        return false;
    }
    ++clicksReceived_;
    const auto content = contentView_->rootView;
    content->minimizeTapped();
    return true;
}

bool SimOverlayWindow::clickBackground() {
    if (ignoresMouseEvents_ || !canBeClicked()) {
        return false;
    }
    ++clicksReceived_;
    contentView_->rootView->backgroundTapped();
    return true;
}

std::shared_ptr<OverlayWindow> SimOverlayWindowFactory::makeWindow(Rect contentRect,
                                                                   WindowStyleMask styleMask,
                                                                   BackingStoreType backing,
                                                                   bool defer) {
    auto window = std::make_shared<SimOverlayWindow>(
        SimOverlayWindow::Creation{contentRect, styleMask, backing, defer});
    windows_.push_back(window);
    return window;
}

std::size_t SimOverlayWindowFactory::visibleWindowCount() const {
    return static_cast<std::size_t>(std::count_if(
        windows_.begin(), windows_.end(), [](const auto& window) { return window->isVisible(); }));
}

} // namespace velmora
