// Velmora on KDE Plasma's Wayland session, on one KWin for the whole suite.
#include "X11Testing/ChildProcess.hpp"
#include "harness/CompositorTest.hpp"
#include "harness/KWinSession.hpp"

#include <fstream>

namespace velmora::e2e {
namespace {

using KWinTest = CompositorTest<KWinSession>;

TEST_F(KWinTest, LockedWindowIsCoveredAndDeafUntilThePasswordIsTyped) {
    expectLockedWindowCoveredAndDeaf();
}

TEST_F(KWinTest, KilledVelmoraLeavesTheWindowHiddenAndComesBack) {
    expectKilledVelmoraHidesAndComesBack();
}

TEST_F(KWinTest, MinimizedAndBroughtBackItOffersItsCardAgain) {
    expectMinimizedAndBroughtBackOffersItsCard();
}

TEST_F(KWinTest, IdleRelockHidesTheApplication) {
    expectIdleRelockHides();
}

TEST_F(KWinTest, WindowOpenedWhileLockedNeverShows) {
    expectWindowOpenedWhileLockedUnseen();
}

TEST_F(KWinTest, AnEntryClaimingItsClassLeavesItCovered) {
    expectClaimingEntryLeavesItCovered();
}

TEST_F(KWinTest, AnX11ApplicationThroughXwaylandIsCoveredToo) {
    expectXwaylandWindowCoveredAndDeaf();
}

TEST_F(KWinTest, InPlasmasTrayItsItemOffersTheMenuAndOpensThePanel) {
    const auto items = desktop_->output() / "tray-items";
    const auto lines = [&] {
        std::vector<std::string> read;
        std::ifstream file(items);
        for (std::string line; std::getline(file, line);) {
            read.push_back(line);
        }
        return read;
    };
    testing::ChildProcess watcher({VELMORA_TRAY_WATCHER, items.string()}, desktop_->environment());
    ASSERT_TRUE(eventually([&] { return !lines().empty(); })) << "the tray did not come up";
    launch("other", kOther);
    ASSERT_TRUE(desktop_->startVelmora(VELMORA_PROGRAM, 5, true));
    ASSERT_TRUE(eventually([&] { return lines().size() == 2; })) << "no item in the tray";
    const std::string item = "--dest=" + lines()[1];
    EXPECT_FALSE(desktop_->window("Velmora")) << "the panel opened by itself beside a tray";
    EXPECT_TRUE(eventually([&] { return desktop_->window("other")->active; }))
        << "starting, Velmora kept the keyboard from the window in front";

    const std::string menuPath =
        session_->call({item, "/StatusNotifierItem", "org.freedesktop.DBus.Properties.Get",
                        "string:org.kde.StatusNotifierItem", "string:Menu"});
    const auto quoted = menuPath.find('"');
    ASSERT_NE(quoted, std::string::npos) << "the item names no menu";
    const std::string menu = session_->call(
        {item, menuPath.substr(quoted + 1, menuPath.find('"', quoted + 1) - quoted - 1),
         "com.canonical.dbusmenu.GetLayout", "int32:0", "int32:-1", "array:string:"});
    EXPECT_NE(menu.find("Lock All"), std::string::npos) << menu;
    EXPECT_NE(menu.find("Quit Velmora"), std::string::npos) << menu;
    // A click on the icon, as Plasma's tray passes it on.
    session_->call(
        {item, "/StatusNotifierItem", "org.kde.StatusNotifierItem.Activate", "int32:0", "int32:0"});
    EXPECT_TRUE(desktop_->waitForPanel()) << "activating the item opened no panel";
}

} // namespace
} // namespace velmora::e2e
