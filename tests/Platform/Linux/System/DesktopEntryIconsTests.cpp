#include "Platform/Linux/DesktopEntryIcons.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TemporaryDirectory;

TEST(DesktopEntryIcons, AnApplicationsIconIsItsDesktopEntrysIcon) {
    TemporaryDirectory dir;
    const auto entry = [](const std::string& icon) {
        return "[Desktop Entry]\nType=Application\nName=App\nExec=app\n" + icon;
    };
    const std::string editor = dir.write("applications/org.example.Editor.desktop",
                                         entry("Icon=accessories-text-editor\n"));
    const std::string plain = dir.write("applications/org.example.Plain.desktop", entry("Icon=\n"));
    const DesktopEntryIcons icons(std::make_shared<XdgApplicationDirectory>(
        std::vector{dir.path("applications")}, DesktopLocale{}));

    struct Case {
        std::string bundleIdentifier;
        std::optional<std::string> location;
        std::optional<std::string> icon;
    };
    const Case cases[] = {
        {"org.example.Editor", editor, "accessories-text-editor"},
        {"org.example.Plain", plain, std::nullopt},
        {"org.example.Gone", std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bundleIdentifier);
        const auto location = icons.urlForApplication(c.bundleIdentifier);
        EXPECT_EQ(location, c.location);
        if (location) {
            EXPECT_EQ(icons.iconForFile(*location), c.icon);
        }
    }
}

} // namespace
} // namespace velmora
