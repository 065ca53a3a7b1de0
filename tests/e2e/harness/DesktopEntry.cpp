#include "harness/DesktopEntry.hpp"

#include <fstream>

namespace velmora::e2e {

void DesktopEntry::writeInto(const std::filesystem::path& dataDirectory) const {
    const auto applications = dataDirectory / "applications";
    std::filesystem::create_directories(applications);
    std::ofstream(applications / (id + ".desktop")) << "[Desktop Entry]\n"
                                                    << "Type=Application\n"
                                                    << "Name=" << name << "\n"
                                                    << "Exec=" << exec << "\n"
                                                    << "StartupWMClass=" << startupWmClass << "\n";
}

} // namespace velmora::e2e
