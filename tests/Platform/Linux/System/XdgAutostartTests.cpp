#include "Platform/Linux/DesktopEntry.hpp"
#include "Platform/Linux/System/ScopedVariable.hpp"
#include "Platform/Linux/XdgAutostart.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::ScopedVariable;
using testing::TemporaryDirectory;

TEST(XdgAutostart, RegisteringWritesAnEntryThatStartsTheProgram) {
    for (const std::string executable :
         {"/usr/bin/velmora", "/opt/My Apps/velmora", R"(/odd/"quote" `tick` $HOME \ 100%/v)"}) {
        TemporaryDirectory dir;
        XdgAutostart autostart(dir.path("config/autostart"), executable);
        EXPECT_FALSE(autostart.isEnabled());

        EXPECT_EQ(autostart.registerItem(), std::nullopt) << executable;
        EXPECT_TRUE(autostart.isEnabled());
        const auto entry =
            DesktopEntry::load(dir.path("config/autostart/com.tovren.velmora.desktop"));
        ASSERT_TRUE(entry);
        EXPECT_TRUE(entry->isApplication());
        EXPECT_EQ(entry->execProgram(), executable);
        EXPECT_EQ(dir.list("config/autostart"),
                  std::set<std::string>{"com.tovren.velmora.desktop"});

        EXPECT_EQ(autostart.unregisterItem(), std::nullopt);
        EXPECT_FALSE(autostart.isEnabled());
        EXPECT_EQ(autostart.unregisterItem(), std::nullopt);
    }
}

TEST(XdgAutostart, EnabledOnlyWhileTheEntryIsAnApplicationNotSwitchedOff) {
    const struct {
        const char* contents;
        bool enabled;
    } cases[] = {
        {"[Desktop Entry]\nType=Application\nExec=velmora\n", true},
        {"[Desktop Entry]\nType=Application\nExec=velmora\nHidden=true\n", false},
        {"[Desktop Entry]\nType=Application\nX-GNOME-Autostart-enabled=false\n", false},
    };
    for (const auto& c : cases) {
        TemporaryDirectory dir;
        dir.write("autostart/com.tovren.velmora.desktop", c.contents);
        EXPECT_EQ(XdgAutostart(dir.path("autostart"), "/usr/bin/velmora").isEnabled(), c.enabled)
            << c.contents;
    }
}

TEST(XdgAutostart, TheEntryGoesToTheUsersConfigHome) {
    TemporaryDirectory dir;
    const ScopedVariable home("HOME", dir.path("home"));
    const struct {
        std::string configHome;
        std::string entry;
    } cases[] = {
        {dir.path("config"), "config/autostart/com.tovren.velmora.desktop"},
        // Unset in effect: the freedesktop default.
        {"", "home/.config/autostart/com.tovren.velmora.desktop"},
        {"relative/config", "home/.config/autostart/com.tovren.velmora.desktop"},
    };
    for (const auto& c : cases) {
        const ScopedVariable configHome("XDG_CONFIG_HOME", c.configHome);
        XdgAutostart autostart(XdgAutostart::defaultDirectory(), "/usr/bin/velmora");
        ASSERT_EQ(autostart.registerItem(), std::nullopt) << c.configHome;
        EXPECT_TRUE(DesktopEntry::load(dir.path(c.entry))) << c.configHome;
        EXPECT_EQ(autostart.unregisterItem(), std::nullopt);
    }
}

TEST(XdgAutostart, FailuresAreReported) {
    TemporaryDirectory dir;
    dir.write("autostart", "a file where the directory should be");
    XdgAutostart blocked(dir.path("autostart"), "/usr/bin/velmora");
    EXPECT_TRUE(blocked.registerItem());
    EXPECT_FALSE(blocked.isEnabled());

    dir.write("other/com.tovren.velmora.desktop/occupied", "");
    EXPECT_TRUE(XdgAutostart(dir.path("other"), "/usr/bin/velmora").unregisterItem());
}

} // namespace
} // namespace velmora
