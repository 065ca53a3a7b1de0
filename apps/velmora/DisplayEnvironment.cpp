#include "DisplayEnvironment.hpp"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace velmora {

namespace {

bool isSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

// XDG_CURRENT_DESKTOP is a colon-separated list, e.g. "KDE" or "ubuntu:GNOME".
bool namesKde(std::string_view desktops) {
    while (!desktops.empty()) {
        const auto end = desktops.find(':');
        const std::string_view name = desktops.substr(0, end);
        if (std::equal(name.begin(), name.end(), std::string_view("KDE").begin(),
                       std::string_view("KDE").end(),
                       [](char a, char b) { return std::toupper(a) == b; })) {
            return true;
        }
        desktops = end == std::string_view::npos ? std::string_view{} : desktops.substr(end + 1);
    }
    return false;
}

} // namespace

DisplayEnvironment DisplayEnvironment::check(const char* display, const char* waylandDisplay,
                                             const char* currentDesktop, const char* swaySocket) {
    if (isSet(waylandDisplay)) {
        if (isSet(currentDesktop) && namesKde(currentDesktop)) {
            return {std::nullopt, std::nullopt, Desktop::kdeWayland};
        }
        if (isSet(swaySocket)) {
            return {std::nullopt, std::nullopt, Desktop::sway};
        }
        return {unsupportedWayland(isSet(currentDesktop) ? currentDesktop : "unnamed"),
                std::nullopt, Desktop::x11};
    }
    if (!isSet(display)) {
        return {"Velmora needs an X11 display, and DISPLAY is not set.", std::nullopt,
                Desktop::x11};
    }
    return {};
}

std::string DisplayEnvironment::unsupportedWayland(const std::string& desktop) {
    return "Velmora runs on X11 sessions and on the Wayland sessions of KDE Plasma and sway; on "
           "other Wayland desktops (this one: " +
           desktop +
           ") no program can see or cover another's windows. Log in to an X11 session, to KDE "
           "Plasma or to sway to use Velmora.";
}

} // namespace velmora
