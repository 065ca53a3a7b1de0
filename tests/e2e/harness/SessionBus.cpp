#include "harness/SessionBus.hpp"

#include <fstream>

namespace velmora::e2e {
namespace {

std::vector<std::string> daemonCommand(const std::filesystem::path& directory, bool everyUser) {
    const std::string socket = "unix:path=" + (directory / "bus").string();
    if (!everyUser) {
        return {"dbus-daemon", "--session", "--address=" + socket};
    }
    const auto config = directory / "bus.conf";
    std::ofstream(config) << "<busconfig><type>session</type><listen>" << socket
                          << "</listen><auth>EXTERNAL</auth><policy context=\"default\">"
                             "<allow user=\"*\"/><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                             "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
    return {"dbus-daemon", "--config-file=" + config.string()};
}

} // namespace

SessionBus::SessionBus(const std::filesystem::path& directory, bool everyUser) {
    std::vector<std::string> command = daemonCommand(directory, everyUser);
    command.insert(command.end(), {"--nofork", "--nosyslog", "--print-address={fd}"});
    daemon_ = testing::startReporting(std::move(command), address_, std::chrono::seconds{5});
}

} // namespace velmora::e2e
