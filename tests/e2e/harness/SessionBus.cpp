#include "harness/SessionBus.hpp"

namespace velmora::e2e {

SessionBus::SessionBus(const std::filesystem::path& directory)
    : daemon_(testing::startReporting({"dbus-daemon", "--session", "--nofork", "--nosyslog",
                                       "--address=unix:path=" + (directory / "bus").string(),
                                       "--print-address={fd}"},
                                      address_, std::chrono::seconds{5})) {}

} // namespace velmora::e2e
