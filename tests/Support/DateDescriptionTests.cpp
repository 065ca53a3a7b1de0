#include "Support/DateDescription.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(DateDescription, UtcToTheSecondRoundedDown) {
    using namespace std::chrono;
    const TimePoint epoch{};
    EXPECT_EQ(defaultDateDescription(epoch), "1970-01-01 00:00:00 +0000");
    EXPECT_EQ(defaultDateDescription(sys_days{2024y / February / 29} + 23h + 59min + 59s + 999ms),
              "2024-02-29 23:59:59 +0000");
    EXPECT_EQ(defaultDateDescription(epoch - 500ms), "1969-12-31 23:59:59 +0000");
}

} // namespace
} // namespace velmora
