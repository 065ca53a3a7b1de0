#pragma once

#include <optional>
#include <string>
#include <utility>

namespace velmora {

/// Why an owner authentication did not succeed.
///
///     AuthError error = AuthError::userCancelled();
///     error.description();   // "Authentication was cancelled"
class AuthError {
public:
    enum class Kind { userCancelled, notAvailable, failed, systemCancelled, unknown };

    static AuthError userCancelled() { return AuthError(Kind::userCancelled, {}); }
    static AuthError notAvailable() { return AuthError(Kind::notAvailable, {}); }
    static AuthError failed() { return AuthError(Kind::failed, {}); }
    static AuthError systemCancelled() { return AuthError(Kind::systemCancelled, {}); }
    static AuthError unknown(std::string message) {
        return AuthError(Kind::unknown, std::move(message));
    }

    [[nodiscard]] Kind kind() const { return kind_; }
    /// The message of `unknown`; empty for the other cases.
    [[nodiscard]] const std::string& message() const { return message_; }
    /// The user-facing text.
    [[nodiscard]] std::string description() const;

    friend bool operator==(const AuthError&, const AuthError&) = default;

private:
    AuthError(Kind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

    Kind kind_;
    std::string message_;
};

/// The case name for log lines: "userCancelled", "failed", ..., and `unknown("message")` with
/// the message quoted (`"` and `\` escaped).
std::string toString(const AuthError& error);

/// The outcome of one authentication: success, or the error.
class AuthResult {
public:
    static AuthResult success() { return AuthResult(std::nullopt); }
    static AuthResult failure(AuthError error) { return AuthResult(std::move(error)); }

    [[nodiscard]] bool isSuccess() const { return !error_; }
    /// The error of a failure; none on success.
    [[nodiscard]] const std::optional<AuthError>& error() const { return error_; }

    friend bool operator==(const AuthResult&, const AuthResult&) = default;

private:
    explicit AuthResult(std::optional<AuthError> error) : error_(std::move(error)) {}

    std::optional<AuthError> error_;
};

} // namespace velmora
