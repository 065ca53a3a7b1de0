#include "PamTestbed.hpp"
#include "Platform/Linux/PamServiceStack.hpp"
#include "Platform/Linux/PamStackSurvey.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::PamTestbed;

struct StackCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;
    std::vector<std::string> modules;
};

TEST(PamServiceStack, AuthModulesFollowIncludesAsLinuxPamDoes) {
    const StackCase cases[] = {
        {"Debian with fprintd",
         {{"velmora", "@include common-auth\n"},
          {"common-auth",
           "auth\t[success=2 default=ignore]\tpam_fprintd.so max-tries=1 timeout=10\n"
           "auth [success=1 default=ignore] pam_unix.so nullok try_first_pass\n"
           "auth requisite pam_deny.so\nauth required pam_permit.so\n"}},
         {"pam_fprintd.so", "pam_unix.so", "pam_deny.so", "pam_permit.so"}},
        {"Fedora include and substack, absolute paths",
         {{"velmora", "auth include system-auth\nauth substack password-auth\n"},
          {"system-auth", "auth sufficient /usr/lib64/security/pam_fprintd.so\n"},
          {"password-auth", "-auth optional pam_gnome_keyring.so\n"}},
         {"pam_fprintd.so", "pam_gnome_keyring.so"}},
        {"other types, comments and continued lines",
         {{"velmora", "account required pam_fprintd.so\n"
                      "password required pam_fprintd.so\n"
                      "#auth required pam_fprintd.so\n"
                      "auth required pam_unix.so # auth required pam_fprintd.so\n"
                      "auth required \\\n  pam_env.so\n"}},
         {"pam_unix.so", "pam_env.so"}},
        {"include loops and missing files add nothing",
         {{"velmora", "@include loop\nauth include missing\n@include /nonexistent/file\n"},
          {"loop", "auth required pam_unix.so\n@include velmora\n@include loop\n"}},
         {"pam_unix.so"}},
    };
    for (const StackCase& c : cases) {
        SCOPED_TRACE(c.name);
        PamTestbed testbed;
        for (const auto& [name, text] : c.files) {
            testbed.writeFile("pam.d/" + name, text);
        }
        EXPECT_EQ(authModules(testbed.serviceDirectory() / "velmora"), c.modules);
    }
}

TEST(PamStackSurvey, KeepsItsFindingsForAFewSecondsThenReadsTheStackAgain) {
    PamTestbed testbed;
    auto now = std::chrono::steady_clock::time_point{};
    PamStackSurvey survey(testbed.serviceDirectory(), "velmora", [&] { return now; });
    ASSERT_TRUE(survey.findings().configured);
    EXPECT_FALSE(survey.findings().usesFingerprintReader);

    testbed.writeFile("pam.d/velmora", "auth sufficient pam_fprintd.so\n");
    now += PamStackSurvey::maximumAge - std::chrono::milliseconds{1};
    EXPECT_FALSE(survey.findings().usesFingerprintReader);
    now += std::chrono::milliseconds{1};
    EXPECT_TRUE(survey.findings().usesFingerprintReader);

    std::filesystem::remove(testbed.serviceDirectory() / "velmora");
    std::filesystem::remove(testbed.serviceDirectory() / "other");
    now += PamStackSurvey::maximumAge;
    EXPECT_FALSE(survey.findings().configured);
}

} // namespace
} // namespace velmora
