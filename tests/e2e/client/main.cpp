#include "TestClient.hpp"
#include "TestClientOptions.hpp"
#include "WaylandTestClient.hpp"

#include <cstdlib>
#include <iostream>

namespace {

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

} // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = velmora::e2e::TestClientOptions::parse(
        std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "velmora-test-client: " << error << "\n"
                  << "usage: velmora-test-client [--wm-class INSTANCE,CLASS] [--app-id ID]"
                     " [--title TITLE] [--color RRGGBB] [--geometry WxH+X+Y] [--windows N]"
                     " [--log FILE] [--popup] [--transient] [--override-redirect] [--no-pid]"
                     " [--type TYPE] [--state STATE]... [--ready-file FILE]"
                     " [--open-window-after MS]\n";
        return 2;
    }
    // A Wayland session without X: the same application as a Wayland client.
    if (isSet("WAYLAND_DISPLAY") && !isSet("DISPLAY")) {
        return velmora::e2e::runWaylandTestClient(*options, argc, argv);
    }
    auto client = velmora::e2e::TestClient::open(*options, error);
    if (!client) {
        std::cerr << "velmora-test-client: " << error << "\n";
        return 1;
    }
    return client->run();
}
