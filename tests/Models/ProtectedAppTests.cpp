#include "Models/ProtectedApp.hpp"
#include "Platform/Sim/SimBundleReader.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(ProtectedApp, DisplayNameFallsBackFromDisplayNameToNameToFileName) {
    struct Case {
        std::string location;
        std::map<std::string, std::string> infoStrings;
        std::string expected;
    };
    const std::vector<Case> cases{
        {"/Applications/Notes.app",
         {{"CFBundleDisplayName", "My Notes"}, {"CFBundleName", "N"}},
         "My Notes"},
        {"/Applications/Notes.app", {{"CFBundleName", "Notes"}}, "Notes"},
        {"/Applications/Foo Bar.app", {}, "Foo Bar"},
        {"/Applications/Foo.Bar.app/", {}, "Foo.Bar"},
        {"/Applications/.hidden", {}, ".hidden"},
    };
    const TimePoint now{std::chrono::seconds{1735689600}};
    for (const auto& c : cases) {
        SimBundleReader bundles;
        bundles.addBundle(c.location,
                          {.bundleIdentifier = "com.example.app", .infoStrings = c.infoStrings});
        const auto app = makeProtectedApp(c.location, bundles, now);
        ASSERT_TRUE(app) << c.location;
        EXPECT_EQ(app->displayName, c.expected) << c.location;
    }
}

} // namespace
} // namespace velmora
