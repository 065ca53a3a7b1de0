#include "Platform/Linux/DesktopEntry.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

constexpr const char* kLocalisedEntry = R"(# A comment
[Desktop Entry]
Type=Application
Name=Files
Name[de]=Dateien
Name[de_DE]=Dateien (Deutschland)
Name[de@euro]=Dateien (Euro)
Name[de_DE@euro]=Dateien (Deutschland, Euro)
Name[sr@latin]=Datoteke
)";

TEST(DesktopEntry, LocalisedValueFollowsTheLocaleMatchingOrder) {
    const struct {
        const char* locale;
        const char* expected;
    } cases[] = {
        {"de_DE.UTF-8@euro", "Dateien (Deutschland, Euro)"},
        {"de_DE.UTF-8", "Dateien (Deutschland)"},
        {"de_AT@euro", "Dateien (Euro)"},
        {"de_AT.ISO-8859-1", "Dateien"},
        {"sr_RS@latin", "Datoteke"},
        {"sr_RS", "Files"},
        {"fr_FR.UTF-8", "Files"},
    };
    const auto entry = DesktopEntry::parse(kLocalisedEntry);
    ASSERT_TRUE(entry);
    for (const auto& c : cases) {
        EXPECT_EQ(entry->localized("Name", DesktopLocale::parse(c.locale)), c.expected) << c.locale;
    }
}

TEST(DesktopEntry, ReadsOnlyTheDesktopEntryGroupWithEscapesResolved) {
    const auto entry = DesktopEntry::parse("[Other]\n"
                                           "Name=Not this\n"
                                           "[Desktop Entry]\r\n"
                                           "  Name = A\\sB\\nC\\tD\\rE\\\\F\\;G  \r\n"
                                           "Icon=first\n"
                                           "Icon=second\n"
                                           "Broken line\n"
                                           "Comment=Bad \xff byte\n"
                                           "[Desktop Action new-window]\n"
                                           "Exec=other\n"
                                           "[Desktop Entry]\n"
                                           "Exec=later\n");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->value("Name"), "A B\nC\tD\rE\\F\\;G");
    EXPECT_EQ(entry->value("Icon"), "first");
    EXPECT_EQ(entry->value("Comment"), "Bad \xef\xbf\xbd byte");
    EXPECT_FALSE(entry->value("Exec"));

    EXPECT_FALSE(DesktopEntry::parse("[Desktop Action x]\nName=Files\n"));
}

TEST(DesktopEntry, ExecProgramIsTheFirstWordWithoutAssignmentsQuotesOrFieldCodes) {
    const struct {
        const char* exec;
        std::optional<std::string> program;
    } cases[] = {
        {"gedit %U", "gedit"},
        {"/usr/bin/firefox --new-window %u", "/usr/bin/firefox"},
        {R"("/opt/My App/bin/app" --flag)", "/opt/My App/bin/app"},
        {R"("/opt/quote\\"d/app")", "/opt/quote\"d/app"},
        {"env GDK_BACKEND=x11 LANG=C firefox %u", "firefox"},
        {"/usr/bin/env -i PATH=/bin tool", "tool"},
        {"MOZ_ENABLE_WAYLAND=1 firefox", "firefox"},
        {"/opt/100%%/app %f", "/opt/100%/app"},
        {"%U", std::nullopt},
        {"env FOO=1", std::nullopt},
    };
    for (const auto& c : cases) {
        const auto entry =
            DesktopEntry::parse(std::string("[Desktop Entry]\nExec=") + c.exec + "\n");
        ASSERT_TRUE(entry) << c.exec;
        EXPECT_EQ(entry->execProgram(), c.program) << c.exec;
    }
}

} // namespace
} // namespace velmora
