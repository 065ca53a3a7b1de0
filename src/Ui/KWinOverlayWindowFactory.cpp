#include "Ui/KWinOverlayWindowFactory.hpp"

#include "Platform/Linux/Wayland/KWinShields.hpp"
#include "Ui/QtOverlayWindow.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/QtScreens.hpp"

#include <QQuickView>

namespace velmora {

namespace {

// Any size: the script gives a card its own.
constexpr Rect kFirstFrame{0, 0, 64, 64};

} // namespace

class KWinOverlayWindowFactory::Card final : public OverlayWindow {
public:
    Card(std::shared_ptr<KWinShields> shields, WindowAt windowAt,
         std::shared_ptr<QtOverlayWindow> window)
        : shields_(std::move(shields)), windowAt_(std::move(windowAt)), window_(std::move(window)),
          token_(shields_->newToken()) {
        window_->view().setTitle(token_);
        // Mapped now, parked by the script as it appears.
        window_->showInPlace(nullptr);
    }

    ~Card() override { hide(); }

    // The script gives the window its size: a size Qt asked for itself while the window was
    // parked would leave the compositor's equal one unanswered, and the card undrawn.
    void show(Rect frame, std::shared_ptr<OverlayContent> content) override {
        frame_ = frame;
        // Already mapped: this only puts the content in.
        window_->showInPlace(std::move(content));
        visible_ = true;
        place();
    }
    void hide() override {
        if (std::exchange(visible_, false)) {
            shields_->park(token_);
        }
    }
    [[nodiscard]] bool isVisible() const override { return visible_; }

private:
    void place() {
        const Rect frame = QtScreens::primaryCoordinates().toRoot(frame_);
        shields_->place(token_, windowAt_(frame, shields_->placedOver(token_)), frame, true);
    }

    std::shared_ptr<KWinShields> shields_;
    WindowAt windowAt_;
    std::shared_ptr<QtOverlayWindow> window_;
    QString token_;
    Rect frame_;
    bool visible_ = false;
};

KWinOverlayWindowFactory::KWinOverlayWindowFactory(std::shared_ptr<KWinShields> shields,
                                                   WindowAt windowAt)
    : shields_(std::move(shields)), windowAt_(std::move(windowAt)),
      windows_(std::make_shared<QtOverlayWindowFactory>()) {
    ready_ = make();
}

KWinOverlayWindowFactory::~KWinOverlayWindowFactory() = default;

std::shared_ptr<OverlayWindow> KWinOverlayWindowFactory::makeWindow() {
    if (auto ready = std::exchange(ready_, nullptr)) {
        return ready;
    }
    return make();
}

std::shared_ptr<OverlayWindow> KWinOverlayWindowFactory::make() {
    auto window = windows_->makeQtWindow();
    window->setFrame(kFirstFrame);
    return std::make_shared<Card>(shields_, windowAt_, std::move(window));
}

} // namespace velmora
