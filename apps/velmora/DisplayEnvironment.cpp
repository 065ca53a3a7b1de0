#include "DisplayEnvironment.hpp"

namespace velmora {

namespace {

bool isSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

} // namespace

DisplayEnvironment DisplayEnvironment::check(const char* display, const char* waylandDisplay) {
    if (!isSet(display)) {
        if (isSet(waylandDisplay)) {
            return {"Velmora needs an X11 session, and this is a Wayland session without "
                    "XWayland (DISPLAY is not set). Log in to an X11 session to use Velmora.",
                    std::nullopt};
        }
        return {"Velmora needs an X11 display, and DISPLAY is not set.", std::nullopt};
    }
    if (isSet(waylandDisplay)) {
        return {std::nullopt, "This is a Wayland session: Velmora can only see and cover "
                              "applications that run through XWayland. Native Wayland windows "
                              "cannot be protected."};
    }
    return {};
}

} // namespace velmora
