#include "Platform/Linux/Wayland/KWinEventTaps.hpp"

namespace velmora {

class KWinEventTaps::Tap final : public EventTap {
public:
    Tap(std::shared_ptr<CompositorBridge> bridge, const std::shared_ptr<WaylandIdleNotifier>& idle,
        InputEventMask mask, Callback callback)
        : bridge_(std::move(bridge)), mask_(mask), callback_(std::move(callback)) {
        activation_ = bridge_->observeActivation([this] { used(); });
        if (idle) {
            resumed_ = idle->observeResumed([this] { used(); });
        }
    }

    void setEnabled(bool enabled) override { enabled_ = enabled; }
    [[nodiscard]] bool isEnabled() const override { return enabled_; }
    [[nodiscard]] std::string description() const override {
        return "KWin activations and idle notifications";
    }

private:
    void used() {
        if (!enabled_ || (mask_ & inputEventMaskBit(InputEventType::keyDown)) == 0) {
            return;
        }
        const auto active = bridge_->activeWindow();
        const kwin::Window* window = active ? bridge_->window(*active) : nullptr;
        callback_({InputEventType::keyDown, window ? window->pid : 0});
    }

    std::shared_ptr<CompositorBridge> bridge_;
    InputEventMask mask_;
    Callback callback_;
    bool enabled_ = false;
    Subscription activation_;
    Subscription resumed_;
};

KWinEventTaps::KWinEventTaps(std::shared_ptr<CompositorBridge> bridge,
                             std::shared_ptr<WaylandIdleNotifier> idle)
    : bridge_(std::move(bridge)), idle_(std::move(idle)) {}

std::unique_ptr<EventTap> KWinEventTaps::createListenOnlyTap(InputEventMask mask,
                                                             Callback callback) {
    return std::make_unique<Tap>(bridge_, idle_, mask, std::move(callback));
}

} // namespace velmora
