#pragma once

#include "Platform/Linux/SecretBuffer.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace velmora {

/// One open password prompt: Velmora's own window showing the reason, a password field and
/// Cancel. It may be asked for a password several times (after a wrong one) before it closes.
class PasswordPrompt {
public:
    /// The typed password, or nothing when the person cancelled (Cancel, Escape, closed).
    using Reply = std::function<void(std::optional<SecretBuffer> password)>;

    /// Closes the window if it is still open.
    virtual ~PasswordPrompt() = default;

    /// Waits for the next password; `message` is shown above the field (empty for none,
    /// e.g. "Wrong password. Try again."). `reply` runs once, on the main thread.
    virtual void requestPassword(const std::string& message, Reply reply) = 0;
    /// Shows that the password is being checked: the field and buttons are disabled.
    virtual void setBusy(bool busy) = 0;
};

/// Opens Velmora's password prompts.
///
///     auto prompt = prompts.open("Unlock Notes");
///     prompt->requestPassword("", [](std::optional<SecretBuffer> password) { ... });
class PasswordPrompting {
public:
    virtual ~PasswordPrompting() = default;
    /// Shows a prompt for `reason` (e.g. "Unlock Notes") in front of every other window.
    [[nodiscard]] virtual std::unique_ptr<PasswordPrompt> open(const std::string& reason) = 0;
};

} // namespace velmora
