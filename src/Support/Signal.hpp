#pragma once

#include "Support/Subscription.hpp"

#include <functional>
#include <memory>
#include <vector>

namespace velmora {

/// A stream of values with no replay: subscribers see what is emitted after they connect.
///
///     Signal<int> changed;
///     Subscription s = changed.connect([](int v) { use(v); });
///     changed.emit(3);
///
/// Single-threaded. Slots may connect or disconnect (themselves or others) while an
/// emission runs: a slot disconnected mid-emission is not called afterwards, a slot
/// connected mid-emission first sees the next emission.
template <class... Args> class Signal {
public:
    using Slot = std::function<void(Args...)>;

    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;

    [[nodiscard]] Subscription connect(Slot slot) {
        auto entry = std::make_shared<Entry>(Entry{std::move(slot), true});
        slots_->push_back(entry);
        std::weak_ptr<std::vector<std::shared_ptr<Entry>>> weakSlots = slots_;
        std::weak_ptr<Entry> weakEntry = entry;
        return Subscription([weakSlots, weakEntry] {
            auto liveSlots = weakSlots.lock();
            auto entry = weakEntry.lock();
            if (!liveSlots || !entry) {
                return;
            }
            entry->connected = false;
            std::erase(*liveSlots, entry);
        });
    }

    void emit(Args... args) const {
        const auto snapshot = *slots_;
        for (const auto& entry : snapshot) {
            if (entry->connected) {
                entry->slot(args...);
            }
        }
    }

    [[nodiscard]] std::size_t subscriberCount() const { return slots_->size(); }

private:
    struct Entry {
        Slot slot;
        bool connected;
    };
    std::shared_ptr<std::vector<std::shared_ptr<Entry>>> slots_ =
        std::make_shared<std::vector<std::shared_ptr<Entry>>>();
};

} // namespace velmora
