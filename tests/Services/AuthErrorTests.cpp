#include "Services/AuthError.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(AuthError, AnUnknownErrorCarriesItsMessageIntoTextsAndEquality) {
    EXPECT_EQ(AuthError::unknown("Keychain locked").description(),
              "Authentication error: Keychain locked");
    EXPECT_EQ(toString(AuthError::unknown("Say \"hi\"\n")), "unknown(\"Say \\\"hi\\\"\\x0a\")");
    EXPECT_EQ(AuthError::unknown("a"), AuthError::unknown("a"));
    EXPECT_NE(AuthError::unknown("a"), AuthError::unknown("b"));
    EXPECT_NE(AuthError::unknown(""), AuthError::failed());
    EXPECT_NE(AuthError::userCancelled(), AuthError::systemCancelled());
}

} // namespace
} // namespace velmora
