#include "Core/LockEngine/LockTypes.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(LockTypesText, NamesCannotBreakALogLineApart) {
    const LockedTarget odd{"com.example.Odd", -1, "Say \"hi\"\\\n\tnow\x01"};
    EXPECT_EQ(toString(odd), R"(com.example.Odd pid=-1 "Say \"hi\"\\\n\tnow\x01")");
}

} // namespace
} // namespace velmora
