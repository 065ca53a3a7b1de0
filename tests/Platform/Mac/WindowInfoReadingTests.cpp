#include "Platform/Mac/WindowInfoReading.hpp"

#include <gtest/gtest.h>
#include <limits>

namespace velmora {
namespace {

const std::map<std::string, double> kFullBounds{
    {"X", 100}, {"Y", 50}, {"Width", 800}, {"Height", 600}};

TEST(WindowInfoReading, ProcessIdsAndLayersMustBeWholeNumbersInRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        std::optional<double> value;
        bool kept;
    } cases[] = {
        {std::nullopt, false},
        {-1, true},
        {2147483647.0, true},
        {2147483648.0, false},
        {12.5, false},
        {nan, false},
        {std::numeric_limits<double>::infinity(), false},
    };
    for (const auto& c : cases) {
        const WindowListEntry entry = readWindowInfo({.ownerPid = c.value, .layer = c.value});
        EXPECT_EQ(entry.ownerPid.has_value(), c.kept) << c.value.value_or(-0.0);
        EXPECT_EQ(entry.layer.has_value(), c.kept) << c.value.value_or(-0.0);
        if (c.kept) {
            EXPECT_EQ(*entry.ownerPid, *c.value);
            EXPECT_EQ(*entry.layer, *c.value);
        }
    }
}

TEST(WindowInfoReading, EachMissingBoundIsLeftOutOnItsOwn) {
    EXPECT_FALSE(readWindowInfo({.ownerPid = 1, .layer = 0}).x);

    for (const char* missing : {"X", "Y", "Width", "Height"}) {
        auto bounds = kFullBounds;
        bounds.erase(missing);
        bounds.emplace("x", 1); // keys are case-sensitive
        const WindowListEntry entry = readWindowInfo({.bounds = bounds});
        const int present = entry.x.has_value() + entry.y.has_value() + entry.width.has_value() +
                            entry.height.has_value();
        EXPECT_EQ(present, 3) << missing;
    }
}

} // namespace
} // namespace velmora
