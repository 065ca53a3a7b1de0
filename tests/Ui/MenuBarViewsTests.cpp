#include "Ui/MenuBarDropdownAdaptor.hpp"
#include "Ui/MenuBarPanel.hpp"
#include "Ui/QmlEngineSource.hpp"
#include "Views/MenuBarDropdownStyle.hpp"
#include "Views/ViewModelFixture.hpp"

#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QTest>
#include <cmath>

namespace velmora::testing {
namespace {

using Style = MenuBarDropdownStyle;

// The panel over the view-model desktop (Notes protected and locked, permissions granted),
// drawn by Qt's offscreen platform.
class MenuBarViews : public ViewModelTest {
protected:
    void show() {
        panel.reset();
        adaptor.reset();
        model = MenuBarDropdownViewModel::create(dropdownCollaborators());
        adaptor = std::make_unique<MenuBarDropdownAdaptor>(model);
        panel = std::make_unique<MenuBarPanel>(engines);
        panel->setContent(QUrl(QStringLiteral("qrc:/velmora/qml/MenuBarDropdown.qml")),
                          adaptor.get());
        panel->open({});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->view()));
        nextFrame();
    }

    // Layouts have caught up once another frame is drawn; animations are waited for by
    // what they end in.
    void nextFrame() const {
        QSignalSpy drawn(panel->view(), &QQuickWindow::frameSwapped);
        panel->view()->update();
        EXPECT_TRUE(drawn.wait(2000));
    }

    // Through the item tree: delegates and popups have no QObject parent to find them by.
    static QQuickItem* find(QQuickItem* under, const QString& name) {
        for (QQuickItem* child : under->childItems()) {
            if (child->objectName() == name) {
                return child;
            }
            if (QQuickItem* found = find(child, name)) {
                return found;
            }
        }
        return nullptr;
    }
    QQuickItem* item(const QString& name, QQuickItem* under = nullptr) const {
        QQuickItem* found = find(under ? under : panel->view()->contentItem(), name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QRectF rect(const QString& name) const {
        QQuickItem* it = item(name);
        return it ? it->mapRectToScene(it->boundingRect()) : QRectF();
    }
    bool shown(const QString& name) const {
        QQuickItem* it = item(name);
        return it && it->isVisible();
    }
    std::string text(const QString& name) const {
        QQuickItem* it = item(name);
        return it ? it->property("text").toString().toStdString() : std::string();
    }
    void click(const QString& name) const {
        QTest::mouseClick(panel->view(), Qt::LeftButton, {}, rect(name).center().toPoint());
        nextFrame();
    }

    QmlEngineSource engines;
    std::shared_ptr<MenuBarDropdownViewModel> model;
    std::unique_ptr<MenuBarDropdownAdaptor> adaptor;
    std::unique_ptr<MenuBarPanel> panel;
};

TEST_F(MenuBarViews, EmptyListWithMissingPermissions) {
    setPermissions(false, false);
    appState->protectedApps().set({});
    show();

    EXPECT_EQ(text("statusText"), "Not Protected");
    // Both warnings, Accessibility first, one under the other.
    EXPECT_EQ(rect("warning1").top(), rect("warning0").bottom());
    EXPECT_TRUE(shown("emptyPlaceholder"));
    EXPECT_FALSE(shown("appList"));
}

TEST_F(MenuBarViews, RowsAreSeparatedAndShowTheirLock) {
    setPermissions(true, true);
    protect(kMail, "Mail", std::nullopt);
    protect("com.example.maps", "Maps", std::nullopt);
    show();

    EXPECT_EQ(text("appCount"), "3");
    EXPECT_FALSE(shown("emptyPlaceholder"));
    // A divider between rows, none after the last.
    EXPECT_TRUE(shown("rowDivider0"));
    EXPECT_TRUE(shown("rowDivider1"));
    EXPECT_FALSE(shown("rowDivider2"));
}

TEST_F(MenuBarViews, AnUnlockedRowExpandsToItsControls) {
    unlockNotes();
    show();
    auto* row = item("row0");
    auto* badge = item("badge", row);
    EXPECT_EQ(badge->property("text").toString(), QStringLiteral("Unlocked"));
    EXPECT_TRUE(item("lockAll")->isEnabled());

    const double collapsed = row->height();
    const double panelHeight = panel->view()->height();
    QTest::mouseClick(panel->view(), Qt::LeftButton, {},
                      row->mapToScene(QPointF(60, row->height() / 2)).toPoint());
    EXPECT_TRUE(model->rows.get()[0]->isExpanded.get());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return row->height() > collapsed &&
                   std::abs(panel->view()->height() - (panelHeight + row->height() - collapsed)) <=
                       1;
        },
        2000));
    EXPECT_TRUE(item("timeoutPicker", row)->isVisible());
    EXPECT_TRUE(item("lockNow", row)->isVisible());
    EXPECT_TRUE(item("remove", row)->isVisible());
}

TEST_F(MenuBarViews, ALongListScrollsWithinTheMaximumHeight) {
    for (int index = 0; index < 20; ++index) {
        protect("com.example.app" + std::to_string(index), "App " + std::to_string(index),
                std::nullopt);
    }
    show();
    EXPECT_EQ(rect("appList").height(), Style::listMaximumHeight);
    // The action row and the bottom bar stay below the list, inside the panel.
    EXPECT_LE(rect("bottomBar").bottom(), panel->view()->height());
    EXPECT_GT(rect("actionRow").top(), rect("appList").bottom());
}

TEST_F(MenuBarViews, TheGearOpensTheSettingsPopoverAboveIt) {
    for (const bool canCheck : {false, true}) {
        SCOPED_TRACE(canCheck);
        updater->setCanCheckForUpdates(canCheck);
        show();
        click("gear");
        ASSERT_TRUE(model->showSettingsPopover.get());
        const QRectF popup = rect("settingsPopup");
        EXPECT_GE(popup.top(), 0);
        EXPECT_LT(popup.bottom(), rect("gear").top());
        EXPECT_EQ(text("version"), "Version 1.0.0 (1)");
        EXPECT_EQ(item("checkForUpdates")->isEnabled(), canCheck);

        // The panel is built anew when it opens again; the popover comes back with it.
        panel->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return panel->view() == nullptr; }, 2000));
        panel->open({});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel->view()));
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return find(panel->view()->contentItem(), "settingsPopup") != nullptr; }, 2000));

        click("gear");
        EXPECT_FALSE(model->showSettingsPopover.get());
    }
}

} // namespace
} // namespace velmora::testing
