#include "PamTestbed.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace velmora {
namespace {

using testing::PamTestbed;

struct HelperRun {
    std::string output;
    int exitStatus = -1;
};

/// Runs the helper with `input` as all of its stdin; the end of the input is a closed stdin.
HelperRun runHelper(const PamTestbed& testbed, const std::string& input,
                    const std::string& service) {
    const auto inputPath = testbed.writeFile("input", input);
    const auto outputPath = testbed.directory() / "output";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inputPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::string program = VELMORA_AUTH_HELPER;
    std::string argument = service;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    HelperRun run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.output = testing::readFile(outputPath);
    return run;
}

struct HelperCase {
    const char* name;
    std::string input;
    std::string output;
    int exitStatus;
    std::string service = "velmora";
};

const std::string kPrompt = "prompt-hidden Password: \n";

TEST(AuthHelper, RunsOnePamConversationAndEndsWithAResultMatchingItsExitStatus) {
    const HelperCase cases[] = {
        {"the right one only after three wrong ones",
         "password 1\na\npassword 1\nb\npassword 1\nc\npassword 6\nsecret\n",
         kPrompt + "retry 7\n" + kPrompt + "retry 7\n" + kPrompt + "result failed 7\n", 1},
        {"closed stdin", "", kPrompt + "result cancelled\n", 2},
        {"closed stdin inside a password", "password 6\nsec", kPrompt + "result cancelled\n", 2},
        {"a password longer than announced", "password 3\nsecret\n", kPrompt + "result failed 19\n",
         1},
        {"a NUL inside the password", std::string("password 7\nsec\0ret\n", 19),
         kPrompt + "result failed 19\n", 1},
        {"garbage", "secret\n", kPrompt + "result failed 19\n", 1},
        {"an account PAM does not know: every password is wrong",
         "password 6\nsecret\npassword 6\nsecret\npassword 6\nsecret\n",
         kPrompt + "retry 7\n" + kPrompt + "retry 7\n" + kPrompt + "result failed 7\n", 1,
         "strangers"},
        {"no service file: other denies without asking", "", "result failed 7\n", 1, "missing"},
        {"a service name that is a path", "", "result unavailable\n", 3, "../pam.d/velmora"},
    };
    for (const HelperCase& c : cases) {
        SCOPED_TRACE(c.name);
        PamTestbed testbed;
        testbed.writePasswords(PamTestbed::user() + ":secret:velmora");
        const std::string strangers = (testbed.directory() / "strangers").string();
        testbed.writeFile("strangers", "someone:secret:strangers\n");
        testbed.writeFile("pam.d/strangers",
                          "auth required " VELMORA_PAM_MATRIX " passdb=" + strangers + "\n");

        const HelperRun run = runHelper(testbed, c.input, c.service);
        EXPECT_EQ(run.output, c.output);
        EXPECT_EQ(run.exitStatus, c.exitStatus);
    }
}

} // namespace
} // namespace velmora
