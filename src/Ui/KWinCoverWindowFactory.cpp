#include "Ui/KWinCoverWindowFactory.hpp"

#include "Platform/Linux/Wayland/KWinShields.hpp"
#include "Ui/KWinShieldWindow.hpp"
#include "Ui/QtScreens.hpp"

#include <QPointer>

namespace velmora {

class KWinCoverWindowFactory::Cover final : public CoverWindow {
public:
    Cover(std::shared_ptr<KWinShields> shields, QPointer<KWinShieldWindow> window,
          std::weak_ptr<ParkedShields> parked)
        : shields_(std::move(shields)), window_(std::move(window)), parked_(std::move(parked)) {}

    ~Cover() override {
        hide();
        if (const auto parked = parked_.lock(); parked && window_) {
            parked->push_back(window_);
        }
    }

    void show(const CoverPlacement& placement) override {
        if (!window_) {
            return;
        }
        visible_ = true;
        const Rect frame = QtScreens::primaryCoordinates().toRoot(placement.frame);
        shields_->place(window_->token(), placement.above, frame, false);
    }

    void hide() override {
        if (std::exchange(visible_, false) && window_) {
            shields_->park(window_->token());
        }
    }

    [[nodiscard]] bool isVisible() const override { return visible_; }

private:
    std::shared_ptr<KWinShields> shields_;
    QPointer<KWinShieldWindow> window_;
    std::weak_ptr<ParkedShields> parked_;
    bool visible_ = false;
};

KWinCoverWindowFactory::KWinCoverWindowFactory(std::shared_ptr<KWinShields> shields)
    : shields_(std::move(shields)), parked_(std::make_shared<ParkedShields>()) {
    parked_->push_back(new KWinShieldWindow(shields_->newToken()));
}

KWinCoverWindowFactory::~KWinCoverWindowFactory() = default;

std::unique_ptr<CoverWindow> KWinCoverWindowFactory::makeCover() {
    std::erase_if(*parked_, [](const auto& window) { return window.isNull(); });
    QPointer<KWinShieldWindow> window;
    if (parked_->empty()) {
        window = new KWinShieldWindow(shields_->newToken());
    } else {
        window = parked_->back();
        parked_->pop_back();
    }
    return std::make_unique<Cover>(shields_, window, parked_);
}

} // namespace velmora
