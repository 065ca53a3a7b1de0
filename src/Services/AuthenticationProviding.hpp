#pragma once

#include "Services/AuthError.hpp"

#include <functional>
#include <string>

namespace velmora {

/// Asks the owner of the computer to authenticate.
///
///     auth.authenticate("Quit Velmora", [weak = weak_from_this()](AuthResult result) {
///         if (auto self = weak.lock(); self && result.isSuccess()) self->quit();
///     });
class AuthenticationProviding {
public:
    using Completion = std::function<void(AuthResult)>;

    virtual ~AuthenticationProviding() = default;

    /// Shows the system prompt with `reason`. `completion` runs exactly once, later, on the
    /// main run loop.
    virtual void authenticate(std::string reason, Completion completion) = 0;
};

} // namespace velmora
