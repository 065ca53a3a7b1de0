#include "Platform/Linux/Wayland/KWinShields.hpp"

#include <algorithm>

namespace velmora {

KWinShields::KWinShields(std::shared_ptr<CompositorBridge> bridge) : bridge_(std::move(bridge)) {
    bridge_->setBeforeSending([this] { releaseUnshielded(); });
}

KWinShields::~KWinShields() {
    bridge_->setBeforeSending({});
}

QString KWinShields::newToken() {
    return QLatin1String(kwin::kShieldTitlePrefix) + QString::number(nextToken_++);
}

void KWinShields::place(const QString& token, std::optional<WindowNumber> over, Rect frame,
                        bool card) {
    const auto previous = placedOver(token);
    placed_[token] = over;
    if (previous && previous != over) {
        unshielded_.insert(*previous);
    }
    bridge_->send(kwin::place(token, over.value_or(0), frame, card));
}

void KWinShields::park(const QString& token) {
    const auto found = placed_.find(token);
    if (found == placed_.end()) {
        return;
    }
    if (found->second) {
        unshielded_.insert(*found->second);
    }
    placed_.erase(found);
    bridge_->send(kwin::park(token));
}

std::optional<WindowNumber> KWinShields::placedOver(const QString& token) const {
    const auto found = placed_.find(token);
    return found == placed_.end() ? std::nullopt : found->second;
}

// Decided once per turn, so that a cover giving way to a card over the same window, or a
// shield moved on, lets nothing go.
void KWinShields::releaseUnshielded() {
    for (const WindowNumber number : std::exchange(unshielded_, {})) {
        const bool shielded = std::any_of(placed_.begin(), placed_.end(),
                                          [number](const auto& p) { return p.second == number; });
        const kwin::Window* window = bridge_->window(number);
        // A window on its way to being hidden still shows as visible here: it stays locked.
        if (!shielded && window && window->visible && !bridge_->isBeingHidden(number)) {
            bridge_->send(kwin::release(number));
        }
    }
}

} // namespace velmora
