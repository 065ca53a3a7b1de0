#include "Ui/QmlEngineSetup.hpp"
#include "Ui/SettingsWindow.hpp"
#include "Views/ViewModelFixture.hpp"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

// The settings window over the view-model desktop, Input Monitoring not yet probed.
struct SettingsLayout : testing::ViewModelTest {
    std::shared_ptr<QQmlEngine> qmlEngine = [] {
        auto made = std::make_shared<QQmlEngine>();
        prepareQmlEngine(*made);
        return made;
    }();
    std::unique_ptr<SettingsWindow> window;

    void open(bool accessibility) {
        window.reset();
        setPermissions(accessibility, std::nullopt);
        window = std::make_unique<SettingsWindow>(qmlEngine, mainContentCollaborators());
        window->present();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window->view()));
    }

    QQuickView& view() const { return window->view(); }
    QQuickItem* item(const char* name, QQuickItem* within = nullptr) const {
        QQuickItem* scope = within ? within : view().rootObject();
        auto* found = scope->findChild<QQuickItem*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QRectF sceneRect(QQuickItem* it) const {
        return it ? it->mapRectToScene(it->boundingRect()) : QRectF();
    }
    QRectF sceneRect(const char* name) const { return sceneRect(item(name)); }
    static QString text(QQuickItem* label) { return label->property("text").toString(); }
    void click(QQuickItem* target) {
        QTest::mouseClick(&view(), Qt::LeftButton, {}, sceneRect(target).center().toPoint());
    }
};

TEST_F(SettingsLayout, OnboardingFollowsThePermissions) {
    struct Case {
        bool accessibility;
        const char* accessibilityStatus;
        const char* statusText;
        const char* continueTitle;
    };
    const Case cases[] = {
        {false, "Required", "Accessibility permission is required", ""},
        {true, "Enabled", "Required permissions granted", "Continue Without Input Monitoring"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accessibility);
        open(c.accessibility);
        QQuickItem* accessibility = item("accessibilityCard");
        // Full width, but clear of a shown scroll bar.
        QQuickItem* bar = item("scrollBar");
        EXPECT_EQ(sceneRect(accessibility).right(),
                  bar->isVisible() ? sceneRect(bar).left() : view().width() - 24);
        EXPECT_EQ(text(item("statusLabel", accessibility)), c.accessibilityStatus);
        EXPECT_EQ(item("instructions", accessibility)->isVisible(), !c.accessibility);
        EXPECT_EQ(item("quitButton", accessibility)->isVisible(), !c.accessibility);
        EXPECT_FALSE(item("quitButton", item("inputMonitoringCard"))->isVisible());
        EXPECT_EQ(text(item("statusRow")), c.statusText);
        EXPECT_EQ(item("continueButton")->isVisible(), *c.continueTitle != '\0');
        EXPECT_EQ(item("continueButton")->property("title").toString(), c.continueTitle);
        EXPECT_LE(sceneRect("bottom").bottom(), view().height());
    }
}

TEST_F(SettingsLayout, ContinueWithAccessibilityAloneSwitchesToSetupComplete) {
    open(true);
    click(item("continueButton"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return view().rootObject()->findChild<QQuickItem*>("setupCompleteView"); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return view().size() == QSize(300, 200); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return qFuzzyCompare(item("setupCompleteView")->opacity(), 1.0); }, 2000));
    desktop.loop->advance(Seconds{2});
    EXPECT_FALSE(view().isVisible());
}

TEST_F(SettingsLayout, DiagnosticsOpenBelowTheirToggleAndCopyForTwoSeconds) {
    open(false);
    QQuickItem* panel = item("diagnosticsPanel");
    EXPECT_FALSE(panel->isVisible());
    // Both lie below the fold, as a person scrolls to them.
    auto* sections = item("sections");
    const auto scrollToEnd = [&](QQuickItem* target) {
        sections->setProperty("contentY",
                              sections->property("contentHeight").toDouble() - sections->height());
        return QTest::qWaitFor(
            [&] { return sceneRect(target).bottom() <= sceneRect(sections).bottom(); }, 2000);
    };
    ASSERT_TRUE(scrollToEnd(item("diagnosticsToggle")));
    click(item("diagnosticsToggle"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }, 2000));
    EXPECT_GT(sceneRect(panel).top(), sceneRect("diagnosticsToggle").bottom());

    QQuickItem* copy = item("copyButton");
    ASSERT_TRUE(scrollToEnd(copy));
    EXPECT_EQ(copy->property("title").toString(), "Copy Diagnostics");
    click(copy);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return copy->property("title").toString() == QString("Copied!"); }, 2000));
    ASSERT_TRUE(desktop.pasteboard->text().has_value());
    EXPECT_NE(desktop.pasteboard->text()->find("NOT AUTHORIZED"), std::string::npos);
    desktop.loop->advance(Seconds{2});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return copy->property("title").toString() == QString("Copy Diagnostics"); }, 2000));
}

} // namespace
} // namespace velmora
