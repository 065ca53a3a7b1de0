#include "Core/LockEngine/LockTypes.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

const LockedTarget example{"com.example.App", 100, "Example"};
// 2025-01-02T00:00:00Z
const TimePoint newYearsDay{std::chrono::seconds{1735776000}};

TEST(LockTypesText, StatesReadAsTheirCaseWithTargetAndExpiry) {
    using std::chrono::milliseconds;
    EXPECT_EQ(toString(LockState::idle()), "idle");
    EXPECT_EQ(toString(LockState::locked(example)), R"(locked(com.example.App pid=100 "Example"))");
    EXPECT_EQ(toString(LockState::unlocked(example, newYearsDay)),
              R"(unlocked(com.example.App pid=100 "Example" until 2025-01-02T00:00:00.000Z))");
    EXPECT_EQ(toString(LockState::unlocked(example, newYearsDay - milliseconds{1})),
              R"(unlocked(com.example.App pid=100 "Example" until 2025-01-01T23:59:59.999Z))");
    EXPECT_EQ(toString(LockState::unlocked(example, std::nullopt)),
              R"(unlocked(com.example.App pid=100 "Example" until forever))");
}

TEST(LockTypesText, NamesCannotBreakALogLineApart) {
    const LockedTarget odd{"com.example.Odd", -1, "Say \"hi\"\\\n\tnow\x01"};
    EXPECT_EQ(toString(odd), R"(com.example.Odd pid=-1 "Say \"hi\"\\\n\tnow\x01")");
}

} // namespace
} // namespace velmora
