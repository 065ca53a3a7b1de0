#include "Platform/Mac/BundleIconFile.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(BundleIconFile, NamesTheIconInTheResourcesFolderOrNothing) {
    const std::string resources = "/Applications/Notes.app/Contents/Resources";
    const struct {
        std::optional<std::string> iconFile;
        std::optional<std::string> expected;
    } cases[] = {
        {"AppIcon", resources + "/AppIcon.icns"},
        {"AppIcon.icns", resources + "/AppIcon.icns"},
        {"Notes.png", resources + "/Notes.png"},
        {std::nullopt, std::nullopt},
        // Never a file outside the bundle's resources.
        {"../../../../etc/hosts", std::nullopt},
        {"/etc/hosts", std::nullopt},
        {"..", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bundleIconFile(resources, c.iconFile), c.expected) << c.iconFile.value_or("-");
    }
    EXPECT_EQ(bundleIconFile("", "AppIcon"), std::nullopt) << "a bundle without resources";
}

} // namespace
} // namespace velmora
