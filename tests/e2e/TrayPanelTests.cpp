// The panel a person opens from the tray icon: adding an application through the file
// dialog, removing it with the password, and Launch at Login.
#include "Support/TemporaryDirectory.hpp"
#include "harness/EndToEndTest.hpp"
#include "harness/Eventually.hpp"

namespace velmora::e2e {
namespace {

constexpr int kPanelWidth = 350;
// The tray icon's shield, as the tray draws it.
constexpr Rgb kIconFill = Rgb::fromHex(0x998ce6);

// Where a person clicks, from the panel's left edge and from its top or bottom edge. Its
// content is anchored at the bottom, so the buttons there keep their places whatever the list
// above them holds; the first row is at the top.
enum class Edge { top, bottom };
struct Spot {
    int x;
    Edge edge;
    int distance;
};
constexpr Spot kAddApp{59, Edge::bottom, 41};
constexpr Spot kGear{22, Edge::bottom, 13};
constexpr Spot kFirstRowChevron{320, Edge::top, 71};
// In the first row, opened: the last line of its controls.
constexpr Spot kRemove{295, Edge::bottom, 75};
// In the settings popover, which stands on the gear.
constexpr Spot kLaunchAtLoginSwitch{248, Edge::bottom, 284};

class TrayPanel : public RunningVelmoraTest {
protected:
    TestDesktop::Options desktopOptions() const override { return {.trayHost = true}; }

    /// Clicks the tray icon, the rightmost in the tray along the top edge, and waits for the
    /// panel under it.
    std::optional<WindowInfo> openPanel() {
        clickTrayIcon();
        return desktop().display().waitFor([&](const WindowInfo& info) { return isPanel(info); });
    }

    void clickTrayIcon() {
        const ScreenRect screen = desktop().display().rootRect();
        // The icon docks a moment after Velmora starts: a click before it lands on the tray.
        EXPECT_TRUE(eventually([&] {
            return desktop().display().capture({screen.width - 24, 0, 24, 24}).count(kIconFill) > 0;
        })) << "no icon in the tray";
        desktop().xdo().click(screen.width - 12, 12);
    }

    bool isPanel(const WindowInfo& info) const {
        return info.viewable && info.overrideRedirect && isVelmoraWindow(info) &&
               info.geometry.width == kPanelWidth;
    }
    std::optional<WindowInfo> panel() {
        return desktop().display().find([&](const WindowInfo& info) { return isPanel(info); });
    }

    bool panelShows() { return panel().has_value(); }

    /// The panel once it has grown beyond `height` and stopped growing: what opens in it
    /// opens with an animation, and its buttons have their places only at the end.
    std::optional<WindowInfo> waitForPanelTallerThan(int height) {
        std::optional<WindowInfo> grown;
        int lastHeight = 0;
        int unchanged = 0;
        eventually([&] {
            grown = panel();
            const int current = grown ? grown->geometry.height : 0;
            unchanged = current == lastHeight ? unchanged + 1 : 0;
            lastHeight = current;
            return current > height && unchanged >= 3;
        });
        return grown && grown->geometry.height > height ? grown : std::nullopt;
    }

    void click(const WindowInfo& panel, Spot spot) {
        const ScreenRect& frame = panel.geometry;
        const int y = spot.edge == Edge::top ? frame.y + spot.distance
                                             : frame.y + frame.height - spot.distance;
        desktop().xdo().click(frame.x + spot.x, y);
    }

    /// Clicks Add App and waits for its file dialog.
    std::optional<WindowInfo> openPicker(const WindowInfo& panel) {
        click(panel, kAddApp);
        return desktop().display().waitFor([&](const WindowInfo& info) {
            return info.viewable && info.title == "Select an Application";
        });
    }

    std::filesystem::path defaultsFile() {
        return desktop().configHome() / "velmora" / "defaults.json";
    }
};

TEST_F(TrayPanel, AddsAnApplicationThroughTheDialogAndRemovesItWithThePassword) {
    const auto panel = openPanel();
    ASSERT_TRUE(panel) << "no panel under the tray icon";
    saveScreenshot("1-open");
    const auto dialog = openPicker(*panel);
    ASSERT_TRUE(dialog) << "Add App opened no file dialog";
    saveScreenshot("2-dialog");
    desktop().xdo().type(
        (desktop().applicationsDirectory() / "org.velmora.TestClient.desktop").string());
    desktop().xdo().key("Return");
    ASSERT_TRUE(eventually([&] {
        return testing::readFile(defaultsFile()).find("org.velmora.TestClient") !=
               std::string::npos;
    })) << "the chosen application was not added";
    const auto listed = openPanel();
    ASSERT_TRUE(listed);
    saveScreenshot("3-listed");
    click(*listed, kFirstRowChevron);
    const auto expanded = waitForPanelTallerThan(listed->geometry.height + 60);
    ASSERT_TRUE(expanded) << "the row did not open its controls";
    saveScreenshot("4-expanded");
    click(*expanded, kRemove);
    ASSERT_TRUE(velmoraWindows().waitForFocusedPrompt(*expanded)) << "Remove asked for no password";
    saveScreenshot("5-prompt");
    enterPassword(TestDesktop::kPassword);
    EXPECT_TRUE(eventually([&] {
        return testing::readFile(defaultsFile()).find("org.velmora.TestClient") ==
               std::string::npos;
    })) << "the application is still protected after the password";
    const auto emptied = openPanel();
    ASSERT_TRUE(emptied);
    saveScreenshot("6-removed");
}

TEST_F(TrayPanel, TheApplicationPickerCanNeitherRenameNorDelete) {
    const auto panel = openPanel();
    ASSERT_TRUE(panel) << "no panel under the tray icon";
    const auto dialog = openPicker(*panel);
    ASSERT_TRUE(dialog) << "Add App opened no file dialog";
    // Each step waits for the dialog to show its outcome: it lists folders as it reads them.
    const auto step = [&](const std::vector<std::string>& keys, const std::string& text = "") {
        if (!text.empty()) {
            desktop().xdo().type(text);
        }
        for (const std::string& key : keys) {
            desktop().xdo().key(key);
        }
        std::optional<Image> last;
        int still = 0;
        eventually([&] {
            Image now = desktop().display().capture(dialog->frame);
            still = last && now == *last ? still + 1 : 0;
            last = std::move(now);
            return still >= 3;
        });
    };
    // The protected application's desktop entry, selected in the list, deleted and confirmed.
    step({"Return"}, desktop().applicationsDirectory().string() + "/");
    step({"shift+Tab"});
    step({}, "org.velmora");
    step({"Delete", "alt+y"});
    saveScreenshot("1-delete");
    // In ~/.config, from the list's context menu: a new folder, and Velmora's settings folder
    // renamed.
    step({"Tab", "ctrl+a"});
    step({"Return"}, desktop().configHome().string() + "/");
    step({"shift+Tab"});
    step({"Menu", "n", "Escape"});
    step({"Menu", "r"}, "velmora");
    step({"Return"}, "renamed");
    saveScreenshot("2-rename");

    EXPECT_TRUE(std::filesystem::exists(desktop().applicationsDirectory() /
                                        "org.velmora.TestClient.desktop"))
        << "the desktop entry was deleted";
    EXPECT_TRUE(std::filesystem::exists(defaultsFile())) << "the settings folder was renamed";
    EXPECT_FALSE(std::filesystem::exists(desktop().configHome() / "New Folder"))
        << "a folder was made";
}

TEST_F(TrayPanel, OpensAgainAtOnceAfterEscapeAndClosesOnTheIcon) {
    ASSERT_TRUE(openPanel());
    desktop().xdo().key("Escape");
    ASSERT_TRUE(eventually([&] { return !panelShows(); })) << "Escape left the panel open";
    // Soon after the last one, this click reaches Velmora as a double-click.
    ASSERT_TRUE(openPanel()) << "a quick click after Escape did not open the panel";
    clickTrayIcon();
    EXPECT_TRUE(eventually([&] { return !panelShows(); })) << "the icon did not close the panel";
}

TEST_F(TrayPanel, LaunchAtLoginWritesTheAutostartEntryAndRemovesItOnlyWithThePassword) {
    const auto panel = openPanel();
    ASSERT_TRUE(panel) << "no panel under the tray icon";
    click(*panel, kGear);
    const auto withPopover = waitForPanelTallerThan(panel->geometry.height + 100);
    ASSERT_TRUE(withPopover) << "the gear opened no settings popover";
    saveScreenshot("1-popover");

    const std::filesystem::path entry =
        desktop().configHome() / "autostart" / "com.tovren.velmora.desktop";
    click(*withPopover, kLaunchAtLoginSwitch);
    ASSERT_TRUE(eventually([&] { return std::filesystem::exists(entry); }))
        << "Launch at Login wrote no autostart entry";
    EXPECT_NE(testing::readFile(entry).find("Exec="), std::string::npos);
    saveScreenshot("2-launch-at-login");
    click(*withPopover, kLaunchAtLoginSwitch);
    ASSERT_TRUE(velmoraWindows().waitForFocusedPrompt(*withPopover))
        << "turning Launch at Login off asked for nothing";
    EXPECT_TRUE(std::filesystem::exists(entry)) << "turned off before the password";
    enterPassword(TestDesktop::kPassword);
    EXPECT_TRUE(eventually([&] { return !std::filesystem::exists(entry); }))
        << "turning Launch at Login off left the autostart entry";
}

} // namespace
} // namespace velmora::e2e
