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
    /// The same, for a prompt about the application named `application`, which a record of
    /// failed attempts names.
    virtual void authenticate(std::string reason, [[maybe_unused]] std::string application,
                              Completion completion) {
        authenticate(std::move(reason), std::move(completion));
    }
};

} // namespace velmora
