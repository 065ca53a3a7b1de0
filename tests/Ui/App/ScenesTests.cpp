#include "AppDelegate.hpp"
#include "Platform/Linux/LocalNotificationCenter.hpp"
#include "Scenes.hpp"
#include "TrayIcon.hpp"
#include "Ui/MenuBarPanel.hpp"
#include "Ui/QtRunLoop.hpp"
#include "Ui/SettingsWindow.hpp"
#include "Views/ViewModelFixture.hpp"

#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

// Qt's offscreen platform has no system tray: the desktop of a person without one.
struct ScenesWithoutTray : testing::ViewModelTest {
    std::shared_ptr<LocalNotificationCenter> notifications =
        std::make_shared<LocalNotificationCenter>(std::make_shared<QtRunLoop>());
    TrayIcon tray{[] {}, [] {}};
    Scenes scenes{tray, notifications, mainContentCollaborators()};

    void requestSettings() { notifications->post(AppDelegate::openSettingsRequested); }
};

TEST_F(ScenesWithoutTray, ThePanelIsAWindowShownAtStart) {
    EXPECT_EQ(scenes.panel().view(), nullptr) << "built before it shows";
    scenes.showPanelWithoutTray();
    QQuickView* panel = scenes.panel().view();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(scenes.panel().isPopup());
    EXPECT_NE(panel->rootObject()->findChild<QQuickItem*>(QStringLiteral("panelContent")), nullptr);
    EXPECT_EQ(scenes.settingsWindow(), nullptr);

    // Closed by the person, it is let go, and comes back when Velmora is started again.
    panel->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scenes.panel().view() == nullptr; }, 2000));
    requestSettings();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scenes.panel().isVisible(); }, 2000));
}

TEST_F(ScenesWithoutTray, OpenSettingsRequestedShowsOneSettingsWindowUntilItIsClosed) {
    requestSettings();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scenes.settingsWindow(); }, 2000));
    QQuickView* first = &scenes.settingsWindow()->view();
    EXPECT_TRUE(first->isVisible());

    requestSettings();
    QCoreApplication::processEvents();
    EXPECT_EQ(&scenes.settingsWindow()->view(), first);

    first->close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return scenes.settingsWindow() == nullptr; }, 2000));
    requestSettings();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return scenes.settingsWindow() && scenes.settingsWindow()->view().isVisible(); },
        2000));
}

} // namespace
} // namespace velmora
