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

    /// Evaluates the policy and waits for its one reply and for the prompt to close.
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
        EXPECT_EQ(outcome.replies, 1);
        return outcome;
    }

    /// A helper that is a shell script.
    void useFakeHelper(const std::string& body) {
        settings.helperPath = testbed.writeFile("fake-helper", "#!/bin/sh\n" + body, true);
    }

    /// Helper script lines that read the answer and save the password to "stdin".
    [[nodiscard]] std::string savePassword() const {
        return "IFS= read -r header\ndd bs=1 count=$((${header#password }+1)) of=" +
               (testbed.directory() / "stdin").string() + " 2>/dev/null\n";
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
        EXPECT_EQ(outcome.success, !c.error);
        EXPECT_EQ(outcome.code(), c.error);
    }
}

TEST_F(PamAuthenticationContextTest, WhilePamWaitsForAReaderItsWordsShowAndCancelWorks) {
    useFakeHelper("echo 'info Place your finger on the reader'\nexec sleep 30\n");
    prompts->answers = {std::nullopt};
    EXPECT_EQ(evaluate().code(), LAErrorCode::userCancel);
    EXPECT_EQ(prompts->messages, std::vector<std::string>{"Place your finger on the reader"});
}

TEST_F(PamAuthenticationContextTest, APasswordTypedBeforePamAsksWaitsForTheQuestion) {
    const std::string dir = testbed.directory().string();
    useFakeHelper("echo 'info Place your finger on the reader'\n"
                  "while [ ! -e " +
                  dir +
                  "/go ]; do sleep 0.01; done\n"
                  "echo 'error Verification timed out'\n"
                  "echo 'prompt-hidden Password:'\n" +
                  savePassword() + "echo 'result success'\n");
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

TEST_F(PamAuthenticationContextTest, AHelperThatHangsIsKilledAtTheTimeOutOrWithTheContext) {
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

    settings.helperTimeout = std::chrono::milliseconds(200);
    prompts = std::make_shared<FakePasswordPrompting>();
    prompts->answers = {"secret"};
    const Outcome outcome = evaluate();
    ASSERT_EQ(outcome.code(), LAErrorCode::authenticationFailed);
    EXPECT_EQ(prompts->busyStates, (std::vector<bool>{false, true}));
    EXPECT_NE(::kill(std::stoi(scratch("pid")), 0), 0) << "still running";
}

TEST_F(PamAuthenticationContextTest, ThePasswordReachesTheHelperOnlyThroughItsStdin) {
    const std::string dir = testbed.directory().string();
    useFakeHelper("printf '%s\\n' \"$0\" \"$@\" > " + dir + "/argv\n" + //
                  "cat /proc/$$/environ > " + dir + "/environ\n" +      //
                  "echo 'prompt-hidden Password:'\n" + savePassword() +
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
    EXPECT_EQ(outcome.code(), LAErrorCode::passcodeNotSet);
    EXPECT_TRUE(prompts->reasons.empty());
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
        {"no helper", [](PamTestbed& t, auto& s) { s.helperPath = t.directory() / "missing"; },
         false},
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
    }
}

} // namespace
} // namespace velmora
