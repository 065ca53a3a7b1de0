#include "Platform/Linux/XdgAutostart.hpp"

#include "Platform/Linux/AtomicFile.hpp"
#include "Platform/Linux/DesktopEntry.hpp"
#include "Platform/Linux/XdgDirectories.hpp"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace velmora {

namespace {

/// `text` as one `Exec` argument: double-quoted with its reserved characters escaped, then
/// escaped once more as a desktop entry string, and with '%' doubled so it is no field code.
std::string execArgument(std::string_view text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    quoted += '"';
    std::string out;
    for (const char c : quoted) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '%') {
            out += "%%";
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

XdgAutostart::XdgAutostart(std::string directory, std::string executable)
    : directory_(std::move(directory)), executable_(std::move(executable)) {}

std::string XdgAutostart::defaultDirectory() {
    return XdgDirectories::configHome() + "/autostart";
}

std::string XdgAutostart::path() const {
    return directory_ + "/com.tovren.velmora.desktop";
}

bool XdgAutostart::isEnabled() const {
    const auto entry = DesktopEntry::load(path());
    return entry && entry->isApplication() && entry->value("X-GNOME-Autostart-enabled") != "false";
}

std::optional<std::string> XdgAutostart::registerItem() {
    const std::string contents = "[Desktop Entry]\n"
                                 "Type=Application\n"
                                 "Name=Velmora\n"
                                 "Comment=Keeps chosen applications behind your password\n"
                                 "Exec=" +
                                 execArgument(executable_) +
                                 "\n"
                                 "Terminal=false\n"
                                 "X-GNOME-Autostart-enabled=true\n";
    return writeFileAtomically(path(), contents);
}

std::optional<std::string> XdgAutostart::unregisterItem() {
    const std::string file = path();
    if (::unlink(file.c_str()) != 0 && errno != ENOENT) {
        return std::string(std::strerror(errno)) + ": " + file;
    }
    return std::nullopt;
}

} // namespace velmora
