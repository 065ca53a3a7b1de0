#include "Services/AuthError.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(AuthError, DescriptionsAreTheUserFacingTexts) {
    EXPECT_EQ(AuthError::userCancelled().description(), "Authentication was cancelled");
    EXPECT_EQ(AuthError::notAvailable().description(),
              "Authentication is not available on this device");
    EXPECT_EQ(AuthError::failed().description(), "Authentication failed");
    EXPECT_EQ(AuthError::systemCancelled().description(),
              "Authentication was interrupted by the system");
    EXPECT_EQ(AuthError::unknown("Keychain locked").description(),
              "Authentication error: Keychain locked");
}

TEST(AuthError, EqualWhenSameCaseAndSameMessage) {
    EXPECT_EQ(AuthError::unknown("a"), AuthError::unknown("a"));
    EXPECT_NE(AuthError::unknown("a"), AuthError::unknown("b"));
    EXPECT_NE(AuthError::unknown(""), AuthError::failed());
    EXPECT_NE(AuthError::userCancelled(), AuthError::systemCancelled());
    EXPECT_NE(AuthResult::success(), AuthResult::failure(AuthError::failed()));
}

TEST(AuthError, TextualFormIsTheCaseName) {
    EXPECT_EQ(toString(AuthError::userCancelled()), "userCancelled");
    EXPECT_EQ(toString(AuthError::notAvailable()), "notAvailable");
    EXPECT_EQ(toString(AuthError::failed()), "failed");
    EXPECT_EQ(toString(AuthError::systemCancelled()), "systemCancelled");
    EXPECT_EQ(toString(AuthError::unknown("Say \"hi\"\n")), "unknown(\"Say \\\"hi\\\"\\x0a\")");
}

} // namespace
} // namespace velmora
