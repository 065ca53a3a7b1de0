#include "Core/Overlay/BiometricLabel.hpp"
#include "FakePasswordPrompting.hpp"
#include "PamTestbed.hpp"
#include "Platform/Linux/PamAuthenticationService.hpp"
#include "Services/AuthManager.hpp"
#include "Support/ManualRunLoop.hpp"
#include "X11Testing/WaitUntil.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::FakePasswordPrompting;
using testing::PamTestbed;
using testing::waitUntil;

struct AuthCase {
    const char* name;
    std::deque<std::optional<std::string>> answers;
    std::function<void(PamTestbed&, PamAuthenticationSettings&)> arrange;
    AuthResult result;
};

TEST(PamAuthenticationService, AuthManagerHearsTheOutcomeInItsOwnTerms) {
    const auto nothing = [](PamTestbed&, PamAuthenticationSettings&) {};
    const AuthCase cases[] = {
        {"right password", {"secret"}, nothing, AuthResult::success()},
        {"wrong three times", {"a", "b", "c"}, nothing, AuthResult::failure(AuthError::failed())},
        {"no PAM service",
         {},
         [](PamTestbed& t, auto& s) { s.serviceDirectory = t.directory() / "none"; },
         AuthResult::failure(AuthError::notAvailable())},
    };
    for (const AuthCase& c : cases) {
        SCOPED_TRACE(c.name);
        PamTestbed testbed;
        testbed.writePasswords(PamTestbed::user() + ":secret:velmora");
        PamAuthenticationSettings settings = testbed.settings();
        c.arrange(testbed, settings);
        auto prompts = std::make_shared<FakePasswordPrompting>();
        prompts->answers = c.answers;
        auto loop = std::make_shared<ManualRunLoop>();
        AuthManager auth(loop, makeContextFactory(
                                   std::make_shared<PamAuthenticationService>(prompts, settings)));

        std::optional<AuthResult> result;
        auth.authenticate("Unlock Notes", [&](AuthResult r) { result = std::move(r); });
        ASSERT_TRUE(waitUntil([&] {
            loop->runUntilIdle();
            return result.has_value();
        }));
        EXPECT_EQ(*result, c.result);
        EXPECT_TRUE(waitUntil([&] { return prompts->openPrompts == 0; }));
    }
}

TEST(PamAuthenticationService, TheUnlockButtonNamesThePasswordOrTheFingerprintReader) {
    PamTestbed testbed;
    PamAuthenticationSettings settings = testbed.settings();
    const auto contexts = [&] {
        return makeContextFactory(std::make_shared<PamAuthenticationService>(
            std::make_shared<FakePasswordPrompting>(), settings));
    };
    EXPECT_EQ(biometricName(contexts()), "Password");
    EXPECT_EQ(biometricIconName(contexts()), "key.fill");

    testbed.writeFile("pam.d/velmora", "auth sufficient pam_fprintd.so\n");
    settings.fprintdService = testbed.writeFile("fprintd.service", "");
    EXPECT_EQ(biometricName(contexts()), "Fingerprint");
}

} // namespace
} // namespace velmora
