#include "Core/SystemVersion.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(SystemVersion, PrefersPrettyNameAndAddsTheKernel) {
    struct Case {
        const char* osRelease;
        const char* kernel;
        const char* expected;
    };
    const Case cases[] = {
        {"NAME=\"Debian GNU/Linux\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n",
         "6.1.0-18-amd64\n", "Debian GNU/Linux 12 (bookworm), kernel 6.1.0-18-amd64"},
        {"PRETTY_NAME='Fedora Linux 40'\n", "", "Fedora Linux 40"},
        {"PRETTY_NAME=Arch\\ Linux\n", "6.9.1", "Arch Linux, kernel 6.9.1"},
        {"NAME=Ubuntu\nVERSION=\"24.04 LTS\"\n", "6.8.0", "Ubuntu 24.04 LTS, kernel 6.8.0"},
        {"PRETTY_NAME_EXTRA=x\n", "6.8.0", "Linux, kernel 6.8.0"},
        {"", "", "Linux"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(systemVersionFrom(c.osRelease, c.kernel), c.expected) << c.osRelease;
    }
}

} // namespace
} // namespace velmora
