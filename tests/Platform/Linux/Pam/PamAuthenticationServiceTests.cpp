#include "Core/Overlay/BiometricLabel.hpp"
#include "FakePasswordPrompting.hpp"
#include "PamTestbed.hpp"
#include "Platform/Linux/PamAuthenticationService.hpp"
#include "Services/AuthManager.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::FakePasswordPrompting;
using testing::PamTestbed;

TEST(PamAuthenticationService, TheUnlockButtonNamesThePasswordOrTheFingerprintReader) {
    PamTestbed testbed;
    PamAuthenticationSettings settings = testbed.settings();
    const auto contexts = [&] {
        return makeContextFactory(std::make_shared<PamAuthenticationService>(
            std::make_shared<FakePasswordPrompting>(), settings));
    };
    EXPECT_EQ(biometricName(contexts()), "Password");
    EXPECT_EQ(biometricIconName(contexts()), "key.fill");

    // The reader counts only when fprintd is installed and the stack uses it.
    settings.fprintdService = testbed.writeFile("fprintd.service", "");
    EXPECT_EQ(biometricName(contexts()), "Password");
    testbed.writeFile("pam.d/velmora", "auth sufficient pam_fprintd.so\n");
    EXPECT_EQ(biometricName(contexts()), "Fingerprint");
    std::filesystem::remove(settings.fprintdService);
    EXPECT_EQ(biometricName(contexts()), "Password");
}

} // namespace
} // namespace velmora
