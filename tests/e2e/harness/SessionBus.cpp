#include "harness/SessionBus.hpp"

namespace velmora::e2e {

SessionBus::SessionBus(const std::filesystem::path& directory)
    : daemon_(testing::startReporting({"dbus-daemon", "--session", "--nofork", "--nosyslog",
                                       "--address=unix:path=" + (directory / "bus").string(),
                                       "--print-address={fd}"},
                                      address_, std::chrono::seconds{5})) {}

bool SessionBus::announceScreenSaverActive(bool active) const {
    return runCommand({"dbus-send", "--session", "--type=signal", "/org/freedesktop/ScreenSaver",
                       "org.freedesktop.ScreenSaver.ActiveChanged",
                       active ? "boolean:true" : "boolean:false"},
                      {{"DBUS_SESSION_BUS_ADDRESS", address_}});
}

} // namespace velmora::e2e
