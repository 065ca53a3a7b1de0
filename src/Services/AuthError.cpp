#include "Services/AuthError.hpp"

#include <array>
#include <cstdio>

namespace velmora {

std::string AuthError::description() const {
    switch (kind_) {
    case Kind::userCancelled:
        return "Authentication was cancelled";
    case Kind::notAvailable:
        return "Authentication is not available on this device";
    case Kind::failed:
        return "Authentication failed";
    case Kind::systemCancelled:
        return "Authentication was interrupted by the system";
    case Kind::unknown:
        return "Authentication error: " + message_;
    }
    return "Authentication error: " + message_;
}

std::string toString(const AuthError& error) {
    switch (error.kind()) {
    case AuthError::Kind::userCancelled:
        return "userCancelled";
    case AuthError::Kind::notAvailable:
        return "notAvailable";
    case AuthError::Kind::failed:
        return "failed";
    case AuthError::Kind::systemCancelled:
        return "systemCancelled";
    case AuthError::Kind::unknown:
        break;
    }
    std::string text = "unknown(\"";
    // Escaped so that no message can break a log line apart.
    for (const char c : error.message()) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (byte < 0x20 || byte == 0x7f) {
            std::array<char, 5> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
            text += escaped.data();
        } else {
            text += c;
        }
    }
    return text + "\")";
}

} // namespace velmora
