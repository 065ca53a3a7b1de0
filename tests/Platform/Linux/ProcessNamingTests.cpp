#include "FakeApplicationDirectory.hpp"
#include "Platform/Linux/ProcessNaming.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace velmora::testing {
namespace {

TEST(ProcessNaming, AProtectedApplicationsRulesComeBeforeAnyEntryThatClaimsItsWindows) {
    FakeApplicationDirectory directory;
    directory.add("Mail", {"org.example.Mail", "/apps/org.example.Mail.desktop", "Mail"});
    // An entry that names the same class, which the directory would pick.
    directory.add("MailClass", {"aaa.Claim", "/home/aaa.Claim.desktop", "Claim"});
    directory.add("Notes", {"org.example.Notes", "/apps/org.example.Notes.desktop", "Notes"});
    const std::vector<ApplicationIdentities> protectedApps{
        {"org.example.Mail", {"MailClass"}},
        {"org.example.Gone", {"GoneClass"}},
    };
    std::string command;
    std::getline(std::ifstream("/proc/self/comm"), command);
    const auto window = [](std::optional<std::string> windowClass) {
        return WindowIdentity{.wmClassClass = std::move(windowClass)};
    };

    struct Case {
        const char* name;
        std::vector<WindowIdentity> windows;
        RunningApplication expected;
    };
    const pid_t pid = getpid();
    const Case cases[] = {
        {"claimed class, protected",
         {window("MailClass")},
         {"org.example.Mail", pid, "Mail", "/apps/org.example.Mail.desktop"}},
        {"a later window protected",
         {window("Notes"), window("MailClass")},
         {"org.example.Mail", pid, "Mail", "/apps/org.example.Mail.desktop"}},
        {"protected, its entry gone",
         {window("GoneClass")},
         {"org.example.Gone", pid, "GoneClass"}},
        {"the first window an entry knows",
         {window("Unknown"), window("Notes")},
         {"org.example.Notes", pid, "Notes", "/apps/org.example.Notes.desktop"}},
        {"no entry: the class", {window("Unknown")}, {std::nullopt, pid, "Unknown"}},
        {"no class: the program's name", {window(std::nullopt)}, {std::nullopt, pid, command}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nameProcess({pid, c.windows, true}, directory, protectedApps), c.expected)
            << c.name;
    }
}

} // namespace
} // namespace velmora::testing
