#pragma once

#include <functional>
#include <utility>

namespace velmora {

/// Keeps a connection alive for as long as the handle lives.
///
///     Subscription s = signal.connect([](int v) { ... });
///     s.reset();  // or let it go out of scope
///
/// Move-only. Destroying or resetting it disconnects; a connection whose source is
/// already gone is a no-op to cancel.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    Subscription(Subscription&& other) noexcept : cancel_(std::exchange(other.cancel_, {})) {}
    Subscription& operator=(Subscription&& other) noexcept {
        if (this != &other) {
            reset();
            cancel_ = std::exchange(other.cancel_, {});
        }
        return *this;
    }
    ~Subscription() { reset(); }

    void reset() {
        if (auto cancel = std::exchange(cancel_, {})) {
            cancel();
        }
    }

    [[nodiscard]] bool isActive() const { return static_cast<bool>(cancel_); }

private:
    std::function<void()> cancel_;
};

} // namespace velmora
