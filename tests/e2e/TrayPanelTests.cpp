// The panel a person opens from the tray icon: opening and closing it, adding an application
// through the file dialog and removing it with the password.
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
constexpr Spot kFirstRowChevron{320, Edge::top, 71};
// In the first row, opened: the last line of its controls.
constexpr Spot kRemove{295, Edge::bottom, 75};

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

    std::filesystem::path defaultsFile() {
        return desktop().configHome() / "velmora" / "defaults.json";
    }
};

TEST_F(TrayPanel, OpensAndClosesAtOnceAddsAnApplicationAndRemovesItWithThePassword) {
    ASSERT_TRUE(openPanel());
    desktop().xdo().key("Escape");
    ASSERT_TRUE(eventually([&] { return !panel(); })) << "Escape left the panel open";
    // Soon after the last one, this click reaches Velmora as a double-click.
    ASSERT_TRUE(openPanel()) << "a quick click after Escape did not open the panel";
    clickTrayIcon();
    ASSERT_TRUE(eventually([&] { return !panel(); })) << "the icon did not close the panel";

    const auto shown = openPanel();
    ASSERT_TRUE(shown) << "no panel under the tray icon";
    click(*shown, kAddApp);
    ASSERT_TRUE(desktop().display().waitFor([&](const WindowInfo& info) {
        return info.viewable && info.title == "Select an Application";
    })) << "Add App opened no file dialog";
    desktop().xdo().type(
        (desktop().applicationsDirectory() / "org.velmora.TestClient.desktop").string());
    desktop().xdo().key("Return");
    ASSERT_TRUE(eventually([&] {
        return testing::readFile(defaultsFile()).find("org.velmora.TestClient") !=
               std::string::npos;
    })) << "the chosen application was not added";
    const auto listed = openPanel();
    ASSERT_TRUE(listed);
    click(*listed, kFirstRowChevron);
    const auto expanded = waitForPanelTallerThan(listed->geometry.height + 60);
    ASSERT_TRUE(expanded) << "the row did not open its controls";
    click(*expanded, kRemove);
    ASSERT_TRUE(velmoraWindows().waitForFocusedPrompt(*expanded)) << "Remove asked for no password";
    velmoraWindows().enterPassword(TestDesktop::kPassword);
    EXPECT_TRUE(eventually([&] {
        return testing::readFile(defaultsFile()).find("org.velmora.TestClient") ==
               std::string::npos;
    })) << "the application is still protected after the password";
}

} // namespace
} // namespace velmora::e2e
