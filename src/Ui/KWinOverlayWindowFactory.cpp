#include "Ui/KWinOverlayWindowFactory.hpp"

#include "Platform/Linux/Wayland/KWinShields.hpp"
#include "Ui/QtOverlayWindow.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtScreens.hpp"

#include <QQuickView>

namespace velmora {

class KWinOverlayWindowFactory::Card final : public OverlayWindow {
public:
    Card(std::shared_ptr<KWinShields> shields, WindowAt windowAt,
         std::shared_ptr<OverlayWindow> window, Rect frame)
        : shields_(std::move(shields)), windowAt_(std::move(windowAt)), window_(std::move(window)),
          token_(shields_->newToken()), frame_(frame) {
        if (auto* qt = dynamic_cast<QtOverlayWindow*>(window_.get())) {
            qt->view().setTitle(token_);
        }
        // Mapped now, parked by the script as it appears.
        window_->orderFrontRegardless();
    }

    ~Card() override { orderOut(); }

    void setOpaque(bool opaque) override { window_->setOpaque(opaque); }
    void setBackgroundColor(Color color) override { window_->setBackgroundColor(color); }
    void setHasShadow(bool hasShadow) override { window_->setHasShadow(hasShadow); }
    void setLevel(WindowLevel level) override { window_->setLevel(level); }
    void setCollectionBehavior(WindowCollectionBehavior behavior) override {
        window_->setCollectionBehavior(behavior);
    }
    void setReleasedWhenClosed(bool released) override { window_->setReleasedWhenClosed(released); }
    void setIgnoresMouseEvents(bool ignores) override { window_->setIgnoresMouseEvents(ignores); }

    // The script gives the window its size: a size Qt asked for itself while the window was
    // parked would leave the compositor's equal one unanswered, and the card undrawn.
    void setFrame(Rect frame, bool) override {
        frame_ = frame;
        if (visible_) {
            place();
        }
    }
    [[nodiscard]] std::optional<Rect> contentViewBounds() const override {
        return window_->contentViewBounds();
    }
    void setContentView(std::shared_ptr<OverlayHostingView> view) override {
        window_->setContentView(std::move(view));
    }

    void orderFrontRegardless() override {
        // Already mapped: this only puts the content in.
        window_->orderFrontRegardless();
        visible_ = true;
        place();
    }
    void orderOut() override {
        if (std::exchange(visible_, false)) {
            shields_->park(token_);
        }
    }
    [[nodiscard]] bool isVisible() const override { return visible_; }

    [[nodiscard]] bool canBecomeKeyWindow() const override { return false; }
    [[nodiscard]] bool canBecomeMainWindow() const override { return false; }

private:
    void place() {
        const Rect frame = QtScreens::primaryCoordinates().toRoot(frame_);
        shields_->place(token_, windowAt_(frame, shields_->placedOver(token_)), frame, true);
    }

    std::shared_ptr<KWinShields> shields_;
    WindowAt windowAt_;
    std::shared_ptr<OverlayWindow> window_;
    QString token_;
    Rect frame_;
    bool visible_ = false;
};

KWinOverlayWindowFactory::KWinOverlayWindowFactory(std::shared_ptr<KWinShields> shields,
                                                   WindowAt windowAt)
    : shields_(std::move(shields)), windowAt_(std::move(windowAt)),
      windows_(std::make_shared<QtOverlayWindowFactory>()) {
    ready_ = make({0, 0, 64, 64});
}

KWinOverlayWindowFactory::~KWinOverlayWindowFactory() = default;

std::shared_ptr<OverlayWindow>
KWinOverlayWindowFactory::makeWindow(Rect contentRect, WindowStyleMask, BackingStoreType, bool) {
    if (auto ready = std::exchange(ready_, nullptr)) {
        ready->setFrame(contentRect, false);
        return ready;
    }
    return make(contentRect);
}

std::shared_ptr<OverlayWindow> KWinOverlayWindowFactory::make(Rect contentRect) {
    auto window = windows_->makeWindow(contentRect, kWindowStyleMaskBorderless,
                                       BackingStoreType::buffered, false);
    return std::make_shared<Card>(shields_, windowAt_, std::move(window), contentRect);
}

} // namespace velmora
