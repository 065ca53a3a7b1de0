// Shows Velmora at work on a private X display and leaves screenshots of it in a new folder.
#include "Demonstration.hpp"
#include "harness/PamService.hpp"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <iostream>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "Usage: velmora-demo\n"
    "Starts Velmora on a private X display, protects a test application, unlocks it with a\n"
    "scripted password and locks it again, telling each step; writes screenshots to a new\n"
    "folder in the temporary directory. Exits with 0 only when every step happened.\n";

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        const bool help = std::string(argv[1]) == "--help";
        (help ? std::cout : std::cerr) << kUsage;
        return help ? EXIT_SUCCESS : EXIT_FAILURE;
    }
    if (!std::filesystem::exists(VELMORA_PROGRAM)) {
        std::cerr << "velmora-demo: Velmora is not built (expected at " VELMORA_PROGRAM ")\n";
        return EXIT_FAILURE;
    }
    if (!velmora::e2e::PamService::available()) {
        std::cerr << "velmora-demo: pam_wrapper is not installed (Debian: libpam-wrapper)\n";
        return EXIT_FAILURE;
    }
    std::string folder = (std::filesystem::temp_directory_path() / "velmora-demo-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::cerr << "velmora-demo: cannot create a folder in the temporary directory\n";
        return EXIT_FAILURE;
    }
    // The session's programs (the X server, the window manager, a second Velmora) write
    // their messages into the folder, not between the steps.
    const std::string messages = folder + "/session-messages.txt";
    const int messagesFile = open(messages.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (messagesFile >= 0) {
        dup2(messagesFile, STDERR_FILENO);
        close(messagesFile);
    }

    velmora::demo::Demonstration demonstration(VELMORA_PROGRAM, folder, std::cout);
    const bool happened = demonstration.run();
    std::cout << "Screenshots are in " << folder << "/\n";
    return happened ? EXIT_SUCCESS : EXIT_FAILURE;
}
