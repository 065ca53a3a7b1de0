#include "Support/Rect.hpp"

#include <gtest/gtest.h>
#include <limits>

namespace velmora {
namespace {

TEST(Rect, IntersectionIsTheSharedAreaAndEdgesOrEmptyRectsShareNone) {
    const Rect screen{0, 0, 1440, 900};

    EXPECT_EQ(screen.intersection({1000, 800, 800, 600}), (Rect{1000, 800, 440, 100}));
    EXPECT_EQ(screen.intersection({10, 20, 30, 40}), (Rect{10, 20, 30, 40}));
    // Read as extending left and down from its origin.
    EXPECT_EQ(screen.intersection({100, 100, -50, -50}), (Rect{50, 50, 50, 50}));

    EXPECT_FALSE(screen.intersects({1440, 0, 1920, 1080})); // the next display to the right
    EXPECT_FALSE(screen.intersects({0, 900, 100, 100}));    // the next display above
    EXPECT_FALSE(screen.intersects({100, 100, 0, 50}));
    EXPECT_FALSE(screen.intersects({2000, 0, 10, 10}));
    EXPECT_FALSE(screen.intersects({std::numeric_limits<double>::quiet_NaN(), 0, 10, 10}));
}

TEST(Rect, NumbersAreWrittenShortestWithAFractionalDigit) {
    const std::vector<std::pair<double, std::string>> cases{
        {-0.5, "-0.5"},
        {1.0 / 3, "0.3333333333333333"},
        {1e-7, "0.0000001"},
        {123456789012, "123456789012.0"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(describe(value), text) << value;
    }
    EXPECT_EQ(describe(Rect{25, 12.5, 800, 600.25}), "(25.0, 12.5, 800.0, 600.25)");
}

} // namespace
} // namespace velmora
