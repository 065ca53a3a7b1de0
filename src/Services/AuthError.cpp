#include "Services/AuthError.hpp"

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

std::string AuthError::debugDescription() const {
    switch (kind_) {
    case Kind::userCancelled:
        return "userCancelled";
    case Kind::notAvailable:
        return "notAvailable";
    case Kind::failed:
        return "failed";
    case Kind::systemCancelled:
        return "systemCancelled";
    case Kind::unknown:
        return "unknown(\"" + message_ + "\")";
    }
    return "unknown(\"" + message_ + "\")";
}

} // namespace velmora
