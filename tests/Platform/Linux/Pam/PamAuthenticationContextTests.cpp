#include "FakePasswordPrompting.hpp"
#include "PamTestbed.hpp"
#include "Platform/Linux/PamAuthenticationContext.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <QCoreApplication>
#include <csignal>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::FakePasswordPrompting;
using testing::PamTestbed;
using testing::waitUntil;

constexpr auto kPolicy = AuthenticationPolicy::deviceOwnerAuthentication;
const std::string kWrong = "Wrong password. Try again.";

struct Outcome {
    int replies = 0;
    bool success = false;
    std::optional<OwnerAuthenticationError> error;

    [[nodiscard]] std::optional<LAErrorCode> code() const {
        return error ? std::optional(static_cast<LAErrorCode>(error->code)) : std::nullopt;
    }
};

class PamAuthenticationContextTest : public ::testing::Test {
protected:
    void SetUp() override {
        testbed.writePasswords(PamTestbed::user() + ":secret:velmora");
        settings = testbed.settings();
    }

    /// Evaluates the policy and waits for the reply and for the prompt to close.
    Outcome evaluate(std::string reason = "Unlock Notes") {
        Outcome outcome;
        PamAuthenticationContext context(prompts, settings);
        context.evaluatePolicy(kPolicy, std::move(reason), [&](bool success, auto error) {
            ++outcome.replies;
            outcome.success = success;
            outcome.error = std::move(error);
        });
        EXPECT_TRUE(waitUntil([&] { return outcome.replies > 0; }));
        EXPECT_TRUE(waitUntil([&] { return prompts->openPrompts == 0; }));
        return outcome;
    }

    /// A helper that is a shell script.
    void useFakeHelper(const std::string& body) {
        settings.helperPath = testbed.writeFile("fake-helper", "#!/bin/sh\n" + body, true);
    }

    [[nodiscard]] std::string scratch(const std::string& name) const {
        return testing::readFile(testbed.directory() / name);
    }

    PamTestbed testbed;
    PamAuthenticationSettings settings;
    std::shared_ptr<FakePasswordPrompting> prompts = std::make_shared<FakePasswordPrompting>();
};

struct AttemptCase {
    const char* name;
    std::deque<std::optional<std::string>> answers;
    std::optional<LAErrorCode> error;
    std::vector<std::string> messages;
};

TEST_F(PamAuthenticationContextTest, ThePersonsAnswersDecideTheOutcome) {
    const AttemptCase cases[] = {
        {"right password", {"secret"}, std::nullopt, {""}},
        {"wrong, then right", {"nope", "secret"}, std::nullopt, {"", kWrong}},
        {"wrong three times",
         {"a", "b", "c"},
         LAErrorCode::authenticationFailed,
         {"", kWrong, kWrong}},
        {"cancel", {std::nullopt}, LAErrorCode::userCancel, {""}},
        // A guess, even one given up on, is a failed attempt.
        {"cancel after a wrong one",
         {"a", std::nullopt},
         LAErrorCode::authenticationFailed,
         {"", kWrong}},
        {"a password PAM cannot take",
         {std::string("sec\0ret", 7)},
         LAErrorCode::authenticationFailed,
         {""}},
    };
    for (const AttemptCase& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = std::make_shared<FakePasswordPrompting>();
        prompts->answers = c.answers;

        const Outcome outcome = evaluate();
        EXPECT_EQ(outcome.replies, 1);
        EXPECT_EQ(outcome.success, !c.error);
        EXPECT_EQ(outcome.code(), c.error);
        EXPECT_EQ(prompts->reasons, std::vector<std::string>{"Unlock Notes"});
        EXPECT_EQ(prompts->messages, c.messages);
    }
}

TEST_F(PamAuthenticationContextTest, ThePromptIsBusyOnlyWhilePamChecks) {
    prompts->answers = {"nope", "secret"};
    EXPECT_TRUE(evaluate().success);
    EXPECT_EQ(prompts->busyStates, (std::vector<bool>{false, true, false, true}));
}

TEST_F(PamAuthenticationContextTest, AnUnknownUserFails) {
    testbed.writePasswords("someone-else:secret:velmora");
    prompts->answers = {"secret", "secret", "secret"};
    const Outcome outcome = evaluate();
    EXPECT_FALSE(outcome.success);
    EXPECT_EQ(outcome.code(), LAErrorCode::authenticationFailed);
}

struct HelperCase {
    const char* name;
    std::string script;
    std::optional<LAErrorCode> error;
};

TEST_F(PamAuthenticationContextTest, OnlyAnExplicitSuccessAndAZeroExitStatusUnlock) {
    const HelperCase cases[] = {
        {"success line and status 0", "echo 'result success'\n", std::nullopt},
        {"success line, status 1", "echo 'result success'\nexit 1\n",
         LAErrorCode::authenticationFailed},
        {"status 0 without a line", "exit 0\n", LAErrorCode::authenticationFailed},
        {"success line, then a crash", "echo 'result success'\nkill -SEGV $$\n",
         LAErrorCode::authenticationFailed},
        {"a crash while asking", "echo 'prompt-hidden Password:'\nkill -SEGV $$\n",
         LAErrorCode::authenticationFailed},
        {"more after the result", "echo 'result success'\necho 'info hi'\n",
         LAErrorCode::authenticationFailed},
        {"a failure line with status 0", "echo 'result failed 7'\n",
         LAErrorCode::authenticationFailed},
        {"nonsense, then silence", "echo 'hello'\nexec sleep 30\n",
         LAErrorCode::authenticationFailed},
        {"an endless line", "exec tr '\\0' x < /dev/zero\n", LAErrorCode::authenticationFailed},
        {"unavailable", "echo 'result unavailable'\nexit 3\n", LAErrorCode::passcodeNotSet},
        {"cancelled", "echo 'result cancelled'\nexit 2\n", LAErrorCode::userCancel},
    };
    for (const HelperCase& c : cases) {
        SCOPED_TRACE(c.name);
        useFakeHelper(c.script);
        const Outcome outcome = evaluate();
        EXPECT_EQ(outcome.replies, 1);
        EXPECT_EQ(outcome.success, !c.error);
        EXPECT_EQ(outcome.code(), c.error);
    }
}

struct ReaderPhaseCase {
    const char* name;
    std::string script;
    std::deque<std::optional<std::string>> answers;
    std::optional<LAErrorCode> error;
};

TEST_F(PamAuthenticationContextTest, WhilePamWaitsForAReaderItsWordsShowAndCancelWorks) {
    const std::string place = "echo 'info Place your finger on the reader'\n";
    const ReaderPhaseCase cases[] = {
        {"cancel", place + "exec sleep 30\n", {std::nullopt}, LAErrorCode::userCancel},
        {"the finger matches", place + "echo 'result success'\n", {}, std::nullopt},
        {"the reader gives up",
         place + "echo 'result failed 7'\nexit 1\n",
         {},
         LAErrorCode::authenticationFailed},
    };
    for (const ReaderPhaseCase& c : cases) {
        SCOPED_TRACE(c.name);
        prompts = std::make_shared<FakePasswordPrompting>();
        prompts->answers = c.answers;
        useFakeHelper(c.script);
        const Outcome outcome = evaluate();
        EXPECT_EQ(outcome.replies, 1);
        EXPECT_EQ(outcome.code(), c.error);
        EXPECT_EQ(prompts->messages, std::vector<std::string>{"Place your finger on the reader"});
    }
}

TEST_F(PamAuthenticationContextTest, APasswordTypedBeforePamAsksWaitsForTheQuestion) {
    const std::string dir = testbed.directory().string();
    useFakeHelper("echo 'info Place your finger on the reader'\n"
                  "while [ ! -e " +
                  dir +
                  "/go ]; do sleep 0.01; done\n"
                  "echo 'error Verification timed out'\n"
                  "echo 'prompt-hidden Password:'\n"
                  "IFS= read -r header\n"
                  "dd bs=1 count=$((${header#password }+1)) of=" +
                  dir +
                  "/stdin 2>/dev/null\n"
                  "echo 'result success'\n");
    prompts->answers = {"secret"};
    std::optional<bool> success;
    PamAuthenticationContext context(prompts, settings);
    context.evaluatePolicy(kPolicy, "Unlock Notes", [&](bool ok, auto) { success = ok; });
    ASSERT_TRUE(
        waitUntil([&] { return !prompts->busyStates.empty() && prompts->busyStates.back(); }));
    testbed.writeFile("go", "");

    ASSERT_TRUE(waitUntil([&] { return success.has_value(); }));
    EXPECT_TRUE(*success);
    EXPECT_EQ(scratch("stdin"), "secret\n");
    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Place your finger on the reader"});
    EXPECT_TRUE(waitUntil([&] { return prompts->openPrompts == 0; }));
}

TEST_F(PamAuthenticationContextTest, AHelperThatHangsIsKilledAfterTheTimeOut) {
    settings.helperTimeout = std::chrono::milliseconds(200);
    useFakeHelper("echo $$ > " + (testbed.directory() / "pid").string() +
                  "\necho 'prompt-hidden Password:'\nexec sleep 30\n");
    prompts->answers = {"secret"};

    const Outcome outcome = evaluate();
    EXPECT_EQ(outcome.replies, 1);
    ASSERT_EQ(outcome.code(), LAErrorCode::authenticationFailed);
    EXPECT_EQ(prompts->busyStates, (std::vector<bool>{false, true}));
    const pid_t helper = std::stoi(scratch("pid"));
    EXPECT_NE(::kill(helper, 0), 0) << "still running";
}

TEST_F(PamAuthenticationContextTest, ThePasswordReachesTheHelperOnlyThroughItsStdin) {
    const std::string dir = testbed.directory().string();
    useFakeHelper("printf '%s\\n' \"$0\" \"$@\" > " + dir + "/argv\n" + //
                  "cat /proc/$$/environ > " + dir + "/environ\n" +      //
                  "echo 'prompt-hidden Password:'\n"
                  "IFS= read -r header\n"
                  "dd bs=1 count=$((${header#password }+1)) of=" +
                  dir +
                  "/stdin 2>/dev/null\n"
                  "echo 'result failed 7'\nexit 1\n");
    const std::string password = "hunter2 with\nnewline";
    prompts->answers = {password};

    EXPECT_EQ(evaluate().code(), LAErrorCode::authenticationFailed);
    EXPECT_EQ(scratch("stdin"), password + "\n");
    EXPECT_EQ(scratch("argv"), settings.helperPath.string() + "\nvelmora\n");
    EXPECT_EQ(scratch("environ").find("hunter2"), std::string::npos);
}

TEST_F(PamAuthenticationContextTest, AMissingHelperMeansNoAuthenticationIsAvailable) {
    settings.helperPath = testbed.directory() / "no-helper";
    const Outcome outcome = evaluate();
    EXPECT_EQ(outcome.replies, 1);
    EXPECT_EQ(outcome.code(), LAErrorCode::passcodeNotSet);
    EXPECT_TRUE(prompts->reasons.empty());
}

TEST_F(PamAuthenticationContextTest, DestroyingTheContextMidwayKillsTheHelperWithoutAReply) {
    useFakeHelper("echo $$ > " + (testbed.directory() / "pid").string() +
                  "\necho 'prompt-hidden Password:'\nexec sleep 30\n");
    int replies = 0;
    {
        PamAuthenticationContext context(prompts, settings);
        context.evaluatePolicy(kPolicy, "Quit Velmora", [&](bool, auto) { ++replies; });
        ASSERT_TRUE(waitUntil([&] { return !prompts->messages.empty(); }));
    }
    EXPECT_TRUE(waitUntil([&] { return prompts->openPrompts == 0; }));
    EXPECT_EQ(replies, 0);
    EXPECT_NE(::kill(std::stoi(scratch("pid")), 0), 0) << "still running";
}

struct ReplyPathCase {
    const char* name;
    std::string script;
    std::deque<std::optional<std::string>> answers;
};

TEST_F(PamAuthenticationContextTest, TheReplyMayDestroyTheContext) {
    settings.helperTimeout = std::chrono::milliseconds(200);
    const ReplyPathCase cases[] = {
        {"from the helper's exit", "echo 'result success'\n", {}},
        {"from the helper's output", "echo 'nonsense'\nexec sleep 30\n", {}},
        {"from the prompt", "echo 'prompt-hidden Password:'\nexec sleep 30\n", {std::nullopt}},
        {"from the time-out", "exec sleep 30\n", {}},
    };
    for (const ReplyPathCase& c : cases) {
        SCOPED_TRACE(c.name);
        useFakeHelper(c.script);
        prompts->answers = c.answers;
        auto context = std::make_unique<PamAuthenticationContext>(prompts, settings);
        int replies = 0;
        context->evaluatePolicy(kPolicy, "Unlock Notes", [&](bool, auto) {
            ++replies;
            context.reset();
        });
        ASSERT_TRUE(waitUntil([&] { return !context; }));
        EXPECT_TRUE(waitUntil([&] { return prompts->openPrompts == 0; }));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(replies, 1);
    }
}

TEST_F(PamAuthenticationContextTest, AContextServesOnePrompt) {
    prompts->answers = {"secret"};
    PamAuthenticationContext context(prompts, settings);
    std::vector<std::optional<OwnerAuthenticationError>> errors;
    const auto reply = [&](bool, auto error) { errors.push_back(error); };
    context.evaluatePolicy(kPolicy, "Unlock Notes", reply);
    context.evaluatePolicy(kPolicy, "Unlock Notes", reply);
    ASSERT_TRUE(waitUntil([&] { return errors.size() == 2; }));
    EXPECT_EQ(errors[0], OwnerAuthenticationError::local(LAErrorCode::invalidContext));
    EXPECT_EQ(errors[1], std::nullopt);
    EXPECT_TRUE(waitUntil([&] { return prompts->openPrompts == 0; }));
}

struct AvailabilityCase {
    const char* name;
    std::function<void(PamTestbed&, PamAuthenticationSettings&)> arrange;
    bool available;
};

TEST_F(PamAuthenticationContextTest, CanEvaluateWhenTheHelperAndAPamServiceAreThere) {
    const AvailabilityCase cases[] = {
        {"helper and service", [](auto&, auto&) {}, true},
        {"only the other service",
         [](PamTestbed& t, auto&) { std::filesystem::remove(t.serviceDirectory() / "velmora"); },
         true},
        {"no service at all",
         [](PamTestbed& t, auto&) {
             std::filesystem::remove(t.serviceDirectory() / "velmora");
             std::filesystem::remove(t.serviceDirectory() / "other");
         },
         false},
        {"no service directory",
         [](PamTestbed& t, auto& s) { s.serviceDirectory = t.directory() / "missing"; }, false},
        {"no helper", [](PamTestbed& t, auto& s) { s.helperPath = t.directory() / "missing"; },
         false},
        {"a helper that cannot run",
         [](PamTestbed& t, auto& s) { s.helperPath = t.writeFile("helper", "#!/bin/sh\n"); },
         false},
        {"a directory for a helper",
         [](PamTestbed& t, auto& s) { s.helperPath = t.serviceDirectory(); }, false},
    };
    for (const AvailabilityCase& c : cases) {
        SCOPED_TRACE(c.name);
        PamTestbed testbed;
        PamAuthenticationSettings settings = testbed.settings();
        c.arrange(testbed, settings);
        PamAuthenticationContext context(prompts, settings);
        std::optional<OwnerAuthenticationError> error;
        EXPECT_EQ(context.canEvaluatePolicy(kPolicy, &error), c.available);
        if (c.available) {
            EXPECT_EQ(error, std::nullopt);
        } else {
            ASSERT_TRUE(error);
            EXPECT_EQ(error->domain, kLAErrorDomain);
            EXPECT_EQ(error->code, static_cast<int>(LAErrorCode::passcodeNotSet));
        }
        EXPECT_EQ(context.passcodeName(), "Password");
    }
}

struct ReaderCase {
    const char* name;
    bool stackUsesFprintd;
    bool fprintdInstalled;
    BiometryType biometryType;
};

TEST_F(PamAuthenticationContextTest, ReportsAFingerprintReaderWhenTheStackUsesAnInstalledFprintd) {
    const ReaderCase cases[] = {
        {"neither", false, false, BiometryType::none},
        {"in the stack, not installed", true, false, BiometryType::none},
        {"installed, not in the stack", false, true, BiometryType::none},
        {"both", true, true, BiometryType::fingerprint},
    };
    for (const ReaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.stackUsesFprintd) {
            testbed.writeFile("pam.d/velmora", "@include common-auth\n");
            testbed.writeFile("pam.d/common-auth", "auth sufficient pam_fprintd.so\n");
        }
        if (c.fprintdInstalled) {
            testbed.writeFile("fprintd.service", "");
        }
        settings.fprintdService = testbed.directory() / "fprintd.service";
        PamAuthenticationContext context(prompts, settings);
        EXPECT_EQ(context.biometryType(), BiometryType::none);
        const bool reader = c.biometryType == BiometryType::fingerprint;
        EXPECT_EQ(context.canEvaluatePolicy(
                      AuthenticationPolicy::deviceOwnerAuthenticationWithBiometrics, nullptr),
                  reader);
        EXPECT_EQ(context.biometryType(), c.biometryType);
        EXPECT_TRUE(context.canEvaluatePolicy(kPolicy, nullptr));
        std::filesystem::remove(testbed.directory() / "fprintd.service");
        testbed.writeFile("pam.d/velmora", "auth required pam_unix.so\n");
    }
}

} // namespace
} // namespace velmora
