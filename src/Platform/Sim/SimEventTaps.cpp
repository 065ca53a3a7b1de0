#include "Platform/Sim/SimEventTaps.hpp"

#include <algorithm>

namespace velmora {

struct SimEventTaps::TapState {
    InputEventMask mask = 0;
    Callback callback;
    bool enabled = false;
    std::size_t number = 0;
};

struct SimEventTaps::Shared {
    bool creationAllowed = true;
    bool enablingFails = false;
    std::size_t created = 0;
    std::vector<std::weak_ptr<TapState>> taps;

    std::vector<std::shared_ptr<TapState>> live() {
        std::erase_if(taps, [](const auto& weak) { return weak.expired(); });
        std::vector<std::shared_ptr<TapState>> out;
        for (const auto& weak : taps) {
            if (auto tap = weak.lock()) {
                out.push_back(std::move(tap));
            }
        }
        return out;
    }
};

namespace {

class SimEventTap final : public EventTap {
public:
    SimEventTap(std::shared_ptr<SimEventTaps::TapState> state, std::weak_ptr<bool> enablingFails)
        : state_(std::move(state)), enablingFails_(std::move(enablingFails)) {}

    void setEnabled(bool enabled) override {
        const auto fails = enablingFails_.lock();
        if (enabled && fails && *fails) {
            return;
        }
        state_->enabled = enabled;
    }
    [[nodiscard]] bool isEnabled() const override { return state_->enabled; }
    [[nodiscard]] std::string description() const override {
        return "SimEventTap#" + std::to_string(state_->number);
    }

private:
    std::shared_ptr<SimEventTaps::TapState> state_;
    std::weak_ptr<bool> enablingFails_;
};

} // namespace

SimEventTaps::SimEventTaps() : shared_(std::make_shared<Shared>()) {}

std::unique_ptr<EventTap> SimEventTaps::createListenOnlyTap(InputEventMask mask,
                                                            Callback callback) {
    if (!shared_->creationAllowed) {
        return nullptr;
    }
    auto state = std::make_shared<TapState>();
    state->mask = mask;
    state->callback = std::move(callback);
    state->number = ++shared_->created;
    shared_->taps.push_back(state);
    // The tap reads the flag through an aliasing pointer, so it never outlives the desktop's state.
    return std::make_unique<SimEventTap>(state,
                                         std::shared_ptr<bool>(shared_, &shared_->enablingFails));
}

void SimEventTaps::setCreationAllowed(bool allowed) {
    shared_->creationAllowed = allowed;
}

void SimEventTaps::setEnablingFails(bool fails) {
    shared_->enablingFails = fails;
}

void SimEventTaps::deliver(const InputEvent& event) {
    for (const auto& tap : shared_->live()) {
        if (tap->enabled && (tap->mask & inputEventMaskBit(event.type)) != 0) {
            tap->callback(event);
        }
    }
}

void SimEventTaps::disableAll(InputEventType reason) {
    for (const auto& tap : shared_->live()) {
        tap->enabled = false;
        tap->callback(InputEvent{reason, 0});
    }
}

std::size_t SimEventTaps::tapsCreated() const {
    return shared_->created;
}

std::size_t SimEventTaps::liveTapCount() const {
    return shared_->live().size();
}

bool SimEventTaps::anyLiveTapEnabled() const {
    const auto taps = shared_->live();
    return std::any_of(taps.begin(), taps.end(), [](const auto& tap) { return tap->enabled; });
}

} // namespace velmora
