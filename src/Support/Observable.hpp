#pragma once

#include "Support/Signal.hpp"

#include <functional>
#include <utility>

namespace velmora {

/// A value that tells its observers about every assignment.
///
///     Observable<int> count{0};
///     Subscription s = count.subscribe([](const int& v) { draw(v); });  // sees 0 at once
///     count.set(1);                                                      // sees 1
///
/// Every `set` notifies, even with an equal value; `setIfChanged` notifies only on a real
/// change.
template <class T> class Observable {
public:
    explicit Observable(T initial = T{}) : value_(std::move(initial)) {}
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;

    [[nodiscard]] const T& get() const { return value_; }

    void set(T value) {
        value_ = std::move(value);
        changed_.emit(value_);
    }

    void setIfChanged(T value) {
        if (!(value_ == value)) {
            set(std::move(value));
        }
    }

    /// Delivers the current value at once, then every assignment.
    [[nodiscard]] Subscription subscribe(std::function<void(const T&)> observer) {
        observer(value_);
        return changed_.connect(std::move(observer));
    }

    /// Every assignment from now on, without the current value.
    [[nodiscard]] Subscription subscribeToChanges(std::function<void(const T&)> observer) {
        return changed_.connect(std::move(observer));
    }

private:
    T value_;
    Signal<const T&> changed_;
};

} // namespace velmora
