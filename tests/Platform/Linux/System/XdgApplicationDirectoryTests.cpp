#include "Platform/Linux/System/ScopedVariable.hpp"
#include "Platform/Linux/XdgApplicationDirectory.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmora {
namespace {

using testing::ScopedVariable;
using testing::TemporaryDirectory;

std::string application(const std::string& name, const std::string& extra = "") {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\n" + extra;
}

class XdgApplicationDirectoryTest : public ::testing::Test {
protected:
    XdgApplicationDirectoryTest() {
        dir.write("system/applications/org.gnome.TextEditor.desktop",
                  application("Text Editor", "Name[de]=Texteditor\nIcon=org.gnome.TextEditor\n"));
        dir.write("system/applications/kde/dolphin.desktop", application("KDE Dolphin"));
        dir.write("system/applications/org.kde.dolphin.desktop", application("Dolphin"));
        dir.write("system/applications/firefox.desktop",
                  application("System Firefox", "StartupWMClass=Navigator\n"));
        dir.write("home/applications/firefox.desktop",
                  application("My Firefox", "StartupWMClass=firefox-esr\n"));
        dir.write("system/applications/secret.desktop", application("Secret"));
        dir.write("home/applications/secret.desktop", application("Secret", "Hidden=true\n"));
        dir.write("system/applications/website.desktop",
                  "[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n");
        dir.write("system/applications/notes.desktop", "[Desktop Entry]\nType=Application\n");
        dir.write("system/applications/readme.txt", application("Not an entry"));
        dir.write("system/applications/org.example.Viewer.desktop", application("Viewer 1"));
        dir.write("system/applications/com.example.Viewer.desktop", application("Viewer 2"));
        dir.write("system/applications/tool.desktop",
                  application("Tool", "Exec=env A=1 tool --flag %F\n"));
        dir.write("system/applications/script-a.desktop", application("A", "Exec=python3 a.py\n"));
        dir.write("system/applications/script-b.desktop", application("B", "Exec=python3 b.py\n"));
        dir.write("system/applications/runner.desktop",
                  application("Runner", "TryExec=" + dir.path("opt/runner") + "\nExec=sh -c x\n"));
        for (const char* program : {"bin/tool", "bin/python3", "opt/runner"}) {
            dir.write(program, "#!/bin/sh\n");
            ::chmod(dir.path(program).c_str(), 0755);
        }
    }

    [[nodiscard]] XdgApplicationDirectory directory(const char* locale = "C") const {
        return XdgApplicationDirectory(
            {dir.path("home/applications"), dir.path("missing"), dir.path("system/applications")},
            DesktopLocale::parse(locale));
    }

    TemporaryDirectory dir;
};

TEST_F(XdgApplicationDirectoryTest, IndexesApplicationsByDesktopIdWithEarlierDirectoriesWinning) {
    const auto apps = directory("de_DE.UTF-8");

    const auto editor = apps.application("org.gnome.TextEditor");
    ASSERT_TRUE(editor);
    EXPECT_EQ(*editor, (DesktopApplication{
                           .desktopId = "org.gnome.TextEditor",
                           .path = dir.path("system/applications/org.gnome.TextEditor.desktop"),
                           .name = "Texteditor",
                           .icon = "org.gnome.TextEditor",
                       }));
    EXPECT_EQ(apps.application("kde-dolphin")->name, "KDE Dolphin");
    EXPECT_EQ(apps.application("firefox")->name, "My Firefox");
    EXPECT_EQ(apps.application("notes")->name, std::nullopt);
    for (const char* absent : {"secret", "website", "readme", "kde/dolphin", "dolphin",
                               "org.gnome.TextEditor.desktop", "org.gnome.texteditor"}) {
        EXPECT_FALSE(apps.application(absent)) << absent;
    }
}

TEST_F(XdgApplicationDirectoryTest, WindowsAreMatchedInTheAgreedOrder) {
    const ScopedVariable path("PATH", dir.path("bin"));
    const struct {
        const char* name;
        WindowIdentity window;
        std::optional<std::string> expected;
    } cases[] = {
        {"gtk application id",
         {.gtkApplicationId = "org.gnome.TextEditor"},
         "org.gnome.TextEditor"},
        {"gtk id before WM_CLASS",
         {.gtkApplicationId = "org.gnome.TextEditor", .wmClassClass = "Navigator"},
         "org.gnome.TextEditor"},
        {"unknown gtk id falls through",
         {.gtkApplicationId = "org.example.Gone", .wmClassClass = "firefox-esr"},
         "firefox"},
        {"kde desktop file", {.kdeDesktopFile = "org.kde.dolphin"}, "org.kde.dolphin"},
        {"kde desktop file by its path",
         {.kdeDesktopFile = dir.path("system/applications/org.kde.dolphin.desktop")},
         "org.kde.dolphin"},
        {"kde desktop file with suffix", {.kdeDesktopFile = "kde-dolphin.desktop"}, "kde-dolphin"},
        {"StartupWMClass by class", {.wmClassClass = "firefox-esr"}, "firefox"},
        {"StartupWMClass of a shadowed entry", {.wmClassClass = "Navigator"}, std::nullopt},
        {"StartupWMClass by instance",
         {.wmClassInstance = "firefox-esr", .wmClassClass = "Other"},
         "firefox"},
        {"desktop id ignoring case", {.wmClassClass = "FIREFOX"}, "firefox"},
        {"class before instance",
         {.wmClassInstance = "tool", .wmClassClass = "org.gnome.texteditor"},
         "org.gnome.TextEditor"},
        {"unique last component", {.wmClassClass = "Dolphin"}, "org.kde.dolphin"},
        {"ambiguous last component", {.wmClassClass = "viewer"}, std::nullopt},
        {"executable through Exec and PATH", {.executablePath = dir.path("bin/tool")}, "tool"},
        {"executable through TryExec", {.executablePath = dir.path("opt/runner")}, "runner"},
        {"executable shared by two entries",
         {.executablePath = dir.path("bin/python3")},
         std::nullopt},
        {"hidden entry is gone", {.wmClassClass = "secret"}, std::nullopt},
        {"nothing known",
         {.wmClassClass = "xterm", .executablePath = "/nonexistent"},
         std::nullopt},
    };
    const auto apps = directory();
    for (const auto& c : cases) {
        const auto found = apps.applicationForWindow(c.window);
        EXPECT_EQ(found ? std::optional(found->desktopId) : std::nullopt, c.expected) << c.name;
    }
}

TEST_F(XdgApplicationDirectoryTest, IdentitiesKeepWhatShadowedEntriesAndUniqueProgramsName) {
    const ScopedVariable path("PATH", dir.path("bin"));
    dir.write("home/applications/tool.desktop", application("My Tool", "Hidden=true\n"));
    const auto apps = directory();
    const struct {
        const char* id;
        std::vector<std::string> classes;
        std::vector<std::string> executables;
    } cases[] = {
        {"firefox", {"firefox-esr", "Navigator"}, {}},
        {"tool", {}, {dir.path("bin/tool")}},
        {"script-a", {}, {}},
        {"org.kde.dolphin", {"dolphin"}, {}},
        {"org.example.Viewer", {}, {}},
        {"gone", {}, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(apps.identities(c.id), (ApplicationIdentities{c.id, c.classes, c.executables}))
            << c.id;
    }
    const ApplicationIdentities firefox = apps.identities("firefox");
    EXPECT_TRUE(belongsTo(WindowIdentity{.wmClassClass = "Navigator"}, firefox));
    EXPECT_TRUE(belongsTo(WindowIdentity{.kdeDesktopFile = "/elsewhere/firefox.desktop"}, firefox));
    EXPECT_FALSE(belongsTo(WindowIdentity{.wmClassClass = "Navigator2"}, firefox));
}

TEST_F(XdgApplicationDirectoryTest, RescansOnlyWhenADirectoryChanged) {
    const auto apps = directory();
    ASSERT_EQ(apps.application("tool")->name, "Tool");

    dir.write("system/applications/tool.desktop", application("Tool 2"));

    dir.write("home/applications/tool.desktop", application("My Tool"));
    EXPECT_EQ(apps.application("tool")->name, "My Tool");

    dir.write("missing/new.desktop", application("New"));
    EXPECT_EQ(apps.application("new")->name, "New");

    dir.write("system/applications/sub/dir/deep.desktop", application("Deep"));
    EXPECT_EQ(apps.application("sub-dir-deep")->name, "Deep");

    std::filesystem::remove(dir.path("home/applications/tool.desktop"));
    EXPECT_EQ(apps.application("tool")->name, "Tool 2");
}

} // namespace
} // namespace velmora
