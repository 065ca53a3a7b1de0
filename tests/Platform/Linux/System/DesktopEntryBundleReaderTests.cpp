#include "Platform/Linux/DesktopEntryBundleReader.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testing::TemporaryDirectory;

TEST(DesktopEntryBundleReader, ReadsApplicationEntriesAsBundles) {
    TemporaryDirectory dir;
    const std::string kApplication = "[Desktop Entry]\nType=Application\n";
    dir.write("share/applications/org.gnome.TextEditor.desktop",
              kApplication + "Name=Text Editor\nName[fr]=Éditeur de texte\n");
    dir.write("share/applications/kde/org.kde.dolphin.desktop", kApplication + "Name=Dolphin\n");
    dir.write("home/applications/nested/share/applications/inner.desktop", kApplication);
    dir.write("elsewhere/my-tool.desktop", kApplication + "Name=My Tool\n");
    dir.write("elsewhere/bad-bytes.desktop", kApplication + "Name=Caf\xe9 \xff\n");
    dir.write("elsewhere/link.desktop", "[Desktop Entry]\nType=Link\nName=Site\n");
    dir.write("elsewhere/hidden.desktop", kApplication + "Name=Gone\nHidden=true\n");
    ::mkfifo(dir.path("elsewhere/fifo.desktop").c_str(), 0600);

    using Info = std::map<std::string, std::string>;
    const struct {
        std::string location;
        std::optional<ApplicationBundle> bundle;
    } cases[] = {
        {dir.path("share/applications/org.gnome.TextEditor.desktop"),
         ApplicationBundle{"org.gnome.TextEditor", Info{{"CFBundleName", "Éditeur de texte"}}}},
        {dir.path("share/applications/../applications/kde/org.kde.dolphin.desktop"),
         ApplicationBundle{"kde-org.kde.dolphin", Info{{"CFBundleName", "Dolphin"}}}},
        {dir.path("home/applications/nested/share/applications/inner.desktop"),
         ApplicationBundle{"inner", Info{}}},
        {dir.path("elsewhere/my-tool.desktop"),
         ApplicationBundle{"my-tool", Info{{"CFBundleName", "My Tool"}}}},
        {dir.path("elsewhere/bad-bytes.desktop"),
         ApplicationBundle{"bad-bytes", Info{{"CFBundleName", "Caf\xef\xbf\xbd \xef\xbf\xbd"}}}},
        {dir.path("elsewhere/link.desktop"), std::nullopt},
        {dir.path("elsewhere/hidden.desktop"), std::nullopt},
        {dir.path("elsewhere/fifo.desktop"), std::nullopt},
    };
    const DesktopEntryBundleReader reader({dir.path("home/applications"),
                                           dir.path("share/applications"),
                                           dir.path("home/applications/nested/share/applications")},
                                          DesktopLocale::parse("fr_FR.UTF-8"));
    for (const auto& c : cases) {
        EXPECT_EQ(reader.readBundle(c.location), c.bundle) << c.location;
    }
}

} // namespace
} // namespace velmora
