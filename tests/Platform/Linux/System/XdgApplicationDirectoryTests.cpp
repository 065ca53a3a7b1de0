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

/// What a window says, one property per field; nullptr for a property it lacks.
struct Window {
    const char* gtk = nullptr;
    const char* kde = nullptr;
    const char* instance = nullptr;
    const char* wmClass = nullptr;
    std::string executable{};

    [[nodiscard]] WindowIdentity identity() const {
        const auto text = [](const char* value) {
            return value ? std::optional<std::string>(value) : std::nullopt;
        };
        return {text(gtk), text(kde), text(instance), text(wmClass),
                executable.empty() ? std::nullopt : std::optional(executable)};
    }
};

TEST_F(XdgApplicationDirectoryTest, WindowsAreMatchedInTheAgreedOrder) {
    const ScopedVariable path("PATH", dir.path("bin"));
    const struct {
        const char* name;
        Window window;
        std::optional<std::string> expected;
    } cases[] = {
        {"gtk application id", {.gtk = "org.gnome.TextEditor"}, "org.gnome.TextEditor"},
        {"gtk id before WM_CLASS",
         {.gtk = "org.gnome.TextEditor", .wmClass = "Navigator"},
         "org.gnome.TextEditor"},
        {"unknown gtk id falls through",
         {.gtk = "org.example.Gone", .wmClass = "firefox-esr"},
         "firefox"},
        {"kde desktop file", {.kde = "org.kde.dolphin"}, "org.kde.dolphin"},
        {"kde desktop file with suffix", {.kde = "kde-dolphin.desktop"}, "kde-dolphin"},
        {"StartupWMClass by class", {.wmClass = "firefox-esr"}, "firefox"},
        {"StartupWMClass of a shadowed entry", {.wmClass = "Navigator"}, std::nullopt},
        {"StartupWMClass by instance", {.instance = "firefox-esr", .wmClass = "Other"}, "firefox"},
        {"desktop id ignoring case", {.wmClass = "FIREFOX"}, "firefox"},
        {"class before instance",
         {.instance = "tool", .wmClass = "org.gnome.texteditor"},
         "org.gnome.TextEditor"},
        {"unique last component", {.wmClass = "Dolphin"}, "org.kde.dolphin"},
        {"ambiguous last component", {.wmClass = "viewer"}, std::nullopt},
        {"executable through Exec and PATH", {.executable = dir.path("bin/tool")}, "tool"},
        {"executable through TryExec", {.executable = dir.path("opt/runner")}, "runner"},
        {"executable shared by two entries", {.executable = dir.path("bin/python3")}, std::nullopt},
        {"hidden entry is gone", {.wmClass = "secret"}, std::nullopt},
        {"nothing known", {.wmClass = "xterm", .executable = "/nonexistent"}, std::nullopt},
    };
    const auto apps = directory();
    for (const auto& c : cases) {
        const auto found = apps.applicationForWindow(c.window.identity());
        EXPECT_EQ(found ? std::optional(found->desktopId) : std::nullopt, c.expected) << c.name;
    }
    const std::string entryPath = dir.path("system/applications/org.kde.dolphin.desktop");
    const auto byPath = apps.applicationForWindow(Window{.kde = entryPath.c_str()}.identity());
    ASSERT_TRUE(byPath);
    EXPECT_EQ(byPath->desktopId, "org.kde.dolphin");
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
    EXPECT_TRUE(belongsTo(Window{.wmClass = "Navigator"}.identity(), firefox));
    EXPECT_TRUE(belongsTo(Window{.kde = "/elsewhere/firefox.desktop"}.identity(), firefox));
    EXPECT_FALSE(belongsTo(Window{.wmClass = "Navigator2"}.identity(), firefox));
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
