#include "Ui/MenuBarDropdownAdaptor.hpp"
#include "Ui/MenuBarPanel.hpp"
#include "Ui/PanelStyle.hpp"
#include "Ui/QmlEngineSetup.hpp"
#include "Views/MenuBarDropdownStyle.hpp"
#include "Views/ViewModelFixture.hpp"
#include "Views/ViewPalette.hpp"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>

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
        prepareQmlEngine(*qmlEngine);
        model = MenuBarDropdownViewModel::create(dropdownCollaborators());
        adaptor = std::make_unique<MenuBarDropdownAdaptor>(model);
        panel = std::make_unique<MenuBarPanel>(qmlEngine);
        panel->setContent(QUrl(QStringLiteral("qrc:/velmora/qml/MenuBarDropdown.qml")),
                          adaptor.get());
        panel->open({});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel->view()));
        settleQml();
    }

    // Lets bindings, layouts and the expansion animation finish.
    static void settleQml() { QTest::qWait(300); }

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
        QQuickItem* found = find(under ? under : panel->view().contentItem(), name);
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
    QColor pixel(QPointF at) const { return panel->view().grabWindow().pixelColor(at.toPoint()); }
    void click(const QString& name) const {
        QTest::mouseClick(&panel->view(), Qt::LeftButton, {}, rect(name).center().toPoint());
        settleQml();
    }

    std::shared_ptr<QQmlEngine> qmlEngine = std::make_shared<QQmlEngine>();
    std::shared_ptr<MenuBarDropdownViewModel> model;
    std::unique_ptr<MenuBarDropdownAdaptor> adaptor;
    std::unique_ptr<MenuBarPanel> panel;
};

// Within a few units: colours are blended over the panel's material.
void expectColor(QColor actual, QColor expected, int tolerance = 6) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << actual.name().toStdString();
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << actual.name().toStdString();
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << actual.name().toStdString();
}

QColor over(QColor top, double opacity, QColor bottom) {
    const auto mix = [&](float a, float b) { return a * opacity + b * (1 - opacity); };
    return QColor::fromRgbF(mix(top.redF(), bottom.redF()), mix(top.greenF(), bottom.greenF()),
                            mix(top.blueF(), bottom.blueF()));
}

QColor styleColor(const char* name) {
    return PanelStyle().value(QString::fromLatin1(name)).value<QColor>();
}

QColor qcolor(const Color& color) {
    return QColor::fromRgbF(color.red, color.green, color.blue);
}

TEST_F(MenuBarViews, EmptyListWithMissingPermissions) {
    setPermissions(false, false);
    appState->protectedApps().set({});
    show();

    EXPECT_EQ(panel->view().width(), Style::width);
    EXPECT_EQ(text("statusText"), "Not Protected");
    expectColor(pixel(rect("statusDot").center()), styleColor("red"));
    // Both warnings, Accessibility first, on red bands across the panel.
    const QRectF first = rect("warning0");
    const QRectF second = rect("warning1");
    EXPECT_EQ(first.width(), Style::width);
    EXPECT_EQ(second.top(), first.bottom());
    EXPECT_EQ(item("warningTitle", item("warning0"))->property("text").toString(),
              QStringLiteral("Accessibility Required"));
    expectColor(pixel({first.left() + 4, first.top() + 4}),
                over(styleColor("red"), Style::warningBandOpacity, styleColor("material")));

    EXPECT_TRUE(shown("emptyPlaceholder"));
    EXPECT_FALSE(shown("appList"));
    EXPECT_EQ(text("appCount"), "0");
    EXPECT_EQ(rect("emptySymbol").size(), QSizeF(Style::emptySymbolSize, Style::emptySymbolSize));
    EXPECT_FALSE(item("lockAll")->isEnabled());
    EXPECT_DOUBLE_EQ(item("lockAll")->opacity(), Style::disabledOpacity);
}

TEST_F(MenuBarViews, RowsAreSeparatedAndLaidOutAtTheirSizes) {
    setPermissions(true, true);
    protect(kMail, "Mail", std::nullopt);
    protect("com.example.maps", "Maps", std::nullopt, 0, false);
    show();

    EXPECT_EQ(text("statusText"), "Protected");
    EXPECT_EQ(find(panel->view().contentItem(), "warning0"), nullptr);
    EXPECT_EQ(text("appCount"), "3");
    EXPECT_FALSE(shown("emptyPlaceholder"));
    struct Case {
        QString row;
        bool dividerAfter;
    };
    for (const Case& c : {Case{"row0", true}, Case{"row1", true}, Case{"row2", false}}) {
        SCOPED_TRACE(c.row.toStdString());
        const QRectF row = rect(c.row);
        EXPECT_EQ(row.left(), Style::horizontalPadding);
        EXPECT_EQ(row.width(), Style::width - 2 * Style::horizontalPadding);
        EXPECT_EQ(row.height(), 35 + 2 * 2);
        EXPECT_EQ(shown("rowDivider" + c.row.mid(3)), c.dividerAfter);
    }
    const QRectF icon = item("icon", item("row0"))->mapRectToScene(QRectF(0, 0, 35, 35));
    EXPECT_EQ(icon.left(), Style::horizontalPadding + 8);
    // Notes is locked: the badge is drawn on the accent fill.
    auto* badge = item("badge", item("row0"));
    EXPECT_EQ(badge->property("text").toString(), QStringLiteral("Locked"));
    const QPointF badgeCorner = badge->mapToScene(QPointF(3, badge->height() / 2));
    expectColor(pixel(badgeCorner), qcolor(ViewPalette::accentFill));
    // The Add App button's fill, and Lock All disabled while nothing is unlocked.
    const QRectF addApp = rect("addApp");
    expectColor(pixel({addApp.left() + 3, addApp.center().y()}), qcolor(ViewPalette::accentFill));
    EXPECT_FALSE(item("lockAll")->isEnabled());
}

TEST_F(MenuBarViews, AnUnlockedRowExpandsToItsControls) {
    unlockNotes();
    show();
    auto* row = item("row0");
    auto* badge = item("badge", row);
    EXPECT_EQ(badge->property("text").toString(), QStringLiteral("Unlocked"));
    expectColor(pixel(badge->mapToScene(QPointF(3, badge->height() / 2))),
                qcolor(ViewPalette::unlockedFill));
    EXPECT_TRUE(item("lockAll")->isEnabled());
    EXPECT_DOUBLE_EQ(item("lockAll")->opacity(), 1);

    const double collapsed = row->height();
    const double panelHeight = panel->view().height();
    QTest::mouseClick(&panel->view(), Qt::LeftButton, {},
                      row->mapToScene(QPointF(60, row->height() / 2)).toPoint());
    settleQml();
    EXPECT_TRUE(model->rows.get()[0]->isExpanded.get());
    EXPECT_GT(row->height(), collapsed);
    EXPECT_NEAR(panel->view().height(), panelHeight + row->height() - collapsed, 1);
    EXPECT_EQ(item("chevron", row)->rotation(), 180);
    EXPECT_EQ(item("timeoutPicker", row)->width(), 90);
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
    EXPECT_LE(rect("bottomBar").bottom(), panel->view().height());
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
        EXPECT_EQ(popup.width(), 280);
        EXPECT_GE(popup.top(), 0);
        EXPECT_LT(popup.bottom(), rect("gear").top());
        EXPECT_LE(rect("popupScroll").height(), 300);
        EXPECT_EQ(text("version"), "Version 1.0.0 (1)");
        EXPECT_EQ(item("checkForUpdates")->isEnabled(), canCheck);

        click("gear");
        EXPECT_FALSE(model->showSettingsPopover.get());
    }
}

} // namespace
} // namespace velmora::testing
