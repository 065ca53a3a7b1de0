#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace velmora {

/// Wraps `fn` so that it runs only while `owner` lives, with the owner as its first argument.
/// Work handed to a run loop or a callback routinely outlives the object that asked for it.
///
///     runLoop->post(ifAlive(weak_from_this(), [](Engine& self) { self.step(); }));
///
/// Once the owner is gone a call does nothing and returns a default value.
template <class Owner, class Fn> auto ifAlive(std::weak_ptr<Owner> owner, Fn fn) {
    return [owner = std::move(owner), fn = std::move(fn)](auto&&... args) {
        using Result = std::invoke_result_t<const Fn&, Owner&, decltype(args)...>;
        if (auto self = owner.lock()) {
            return std::invoke(fn, *self, std::forward<decltype(args)>(args)...);
        }
        if constexpr (!std::is_void_v<Result>) {
            return Result{};
        }
    };
}

/// The same for an object that no shared_ptr owns: it holds a token, and the callbacks it
/// hands out through `guard` do nothing once the token, and so the object, has ended.
/// Tokens are used on the main thread; a guarded callback may be copied on any thread.
class LifetimeToken {
public:
    LifetimeToken() = default;
    LifetimeToken(const LifetimeToken&) = delete;
    LifetimeToken& operator=(const LifetimeToken&) = delete;

    template <class Fn> auto guard(Fn fn) const {
        return [alive = std::weak_ptr<const int>(token_), fn = std::move(fn)](auto&&... args) {
            using Result = std::invoke_result_t<const Fn&, decltype(args)...>;
            if (!alive.expired()) {
                return std::invoke(fn, std::forward<decltype(args)>(args)...);
            }
            if constexpr (!std::is_void_v<Result>) {
                return Result{};
            }
        };
    }

    /// For code that calls out and may be destroyed by the call it makes.
    class Watch {
    public:
        explicit Watch(std::weak_ptr<const int> alive) : alive_(std::move(alive)) {}
        [[nodiscard]] bool ended() const { return alive_.expired(); }

    private:
        std::weak_ptr<const int> alive_;
    };
    [[nodiscard]] Watch watch() const { return Watch(token_); }

    /// Ends the guarded callbacks before the owner's other members go, where a destructor
    /// must tear down in an order of its own.
    void end() { token_.reset(); }

private:
    std::shared_ptr<const int> token_ = std::make_shared<const int>(0);
};

} // namespace velmora
