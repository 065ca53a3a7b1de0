#include "Ui/QmlEngineSetup.hpp"
#include "Ui/SettingsWindow.hpp"
#include "Ui/SimSettings.hpp"

#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

const QColor kRed(255, 59, 48);
const QColor kGreen(52, 199, 89);
const QColor kBlue(0, 122, 255);
const QColor kGray(142, 142, 147);

QColor over(const QColor& tint, double opacity, const QColor& base) {
    const auto mix = [&](int a, int b) {
        return int(std::lround(a * opacity + b * (1 - opacity)));
    };
    return QColor(mix(tint.red(), base.red()), mix(tint.green(), base.green()),
                  mix(tint.blue(), base.blue()));
}

void expectColor(QColor actual, QColor expected, int tolerance = 4) {
    EXPECT_NEAR(actual.red(), expected.red(), tolerance) << actual.name().toStdString();
    EXPECT_NEAR(actual.green(), expected.green(), tolerance) << actual.name().toStdString();
    EXPECT_NEAR(actual.blue(), expected.blue(), tolerance) << actual.name().toStdString();
}

struct SettingsLayout : ::testing::Test {
    std::shared_ptr<QQmlEngine> engine = [] {
        auto made = std::make_shared<QQmlEngine>();
        prepareQmlEngine(*made);
        return made;
    }();
    std::unique_ptr<testing::SimSettings> services;
    std::unique_ptr<SettingsWindow> window;

    void open(bool accessibility, std::optional<bool> inputMonitoring) {
        window.reset();
        services = std::make_unique<testing::SimSettings>(accessibility, inputMonitoring);
        window = std::make_unique<SettingsWindow>(engine, services->collaborators());
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
    QColor pixel(QPointF at) const { return view().grabWindow().pixelColor(at.toPoint()); }
    void click(QQuickItem* target) {
        QTest::mouseClick(&view(), Qt::LeftButton, {}, sceneRect(target).center().toPoint());
    }
};

TEST_F(SettingsLayout, OnboardingFollowsThePermissions) {
    struct Case {
        bool accessibility;
        const char* accessibilityStatus;
        int accessibilitySteps;
        const char* inputMonitoringStatus;
        QColor inputMonitoringColor;
        const char* statusText;
        QColor statusColor;
        const char* continueTitle;
        const char* continueNote;
    };
    const Case cases[] = {
        {false, "Required", 5, "Checking", kGray, "Accessibility permission is required", kRed, "",
         "Grant Accessibility to continue"},
        {true, "Enabled", 0, "Checking", kGray, "Required permissions granted", kBlue,
         "Continue Without Input Monitoring", "Idle-based auto-relock will be degraded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.accessibility);
        open(c.accessibility, std::nullopt);
        EXPECT_EQ(view().size(), QSize(560, 720));

        const QRectF circle = sceneRect("headerCircle");
        EXPECT_EQ(circle.size(), QSizeF(60, 60));
        EXPECT_EQ(circle.top(), 24);
        EXPECT_EQ(circle.center().x(), 280);

        QQuickItem* accessibility = item("accessibilityCard");
        QQuickItem* inputMonitoring = item("inputMonitoringCard");
        EXPECT_EQ(sceneRect(accessibility).left(), 24);
        // Full width, but clear of a shown scroll bar.
        QQuickItem* bar = item("scrollBar");
        EXPECT_EQ(sceneRect(accessibility).right(),
                  bar->isVisible() ? sceneRect(bar).left() : 560 - 24);
        EXPECT_EQ(text(item("statusLabel", accessibility)), c.accessibilityStatus);
        EXPECT_EQ(text(item("statusLabel", inputMonitoring)), c.inputMonitoringStatus);
        EXPECT_EQ(item("instructions", accessibility)->isVisible(), c.accessibilitySteps > 0);
        if (c.accessibilitySteps > 0) {
            EXPECT_EQ(item("steps", accessibility)->childItems().size() - 1, c.accessibilitySteps);
            EXPECT_TRUE(item("quitButton", accessibility)->isVisible());
        }
        EXPECT_EQ(item("steps", inputMonitoring)->childItems().size() - 1, 4);
        EXPECT_FALSE(item("quitButton", inputMonitoring)->isVisible());
        EXPECT_TRUE(item("inputMonitoringInfo")->isVisible());
        EXPECT_EQ(sceneRect(item("iconTile", accessibility)).size(), QSizeF(36, 36));

        EXPECT_EQ(text(item("statusRow")), c.statusText);
        EXPECT_EQ(item("continueButton")->isVisible(), *c.continueTitle != '\0');
        EXPECT_EQ(item("continueButton")->property("title").toString(), c.continueTitle);
        EXPECT_EQ(item("continueNote")->property("text").toString(), c.continueNote);
        EXPECT_NEAR(sceneRect("bottom").bottom(), 720 - 24, 0.5);

        // Status colours: the tile at 0.15 over the card's face, the status row's symbol.
        const QColor face = pixel(sceneRect(inputMonitoring).topLeft() + QPointF(60, 4));
        const QRectF tile = sceneRect(item("iconTile", inputMonitoring));
        expectColor(pixel(tile.topLeft() + QPointF(4, 18)),
                    over(c.inputMonitoringColor, 0.15, face));
        // Inside both the filled circle and the filled triangle, clear of their marks.
        const QRectF symbol = sceneRect(item("statusRow")->childItems().constFirst());
        expectColor(pixel(symbol.topLeft() + QPointF(0.3 * symbol.width(), 0.72 * symbol.height())),
                    c.statusColor, 40);
    }
}

TEST_F(SettingsLayout, BothPermissionsShowSetupCompleteWhichClosesAfterTwoSeconds) {
    open(true, true);
    EXPECT_EQ(view().size(), QSize(300, 200));
    EXPECT_EQ(view().rootObject()->findChild<QQuickItem*>("permissionsView"), nullptr);
    const QRectF symbol = sceneRect("setupCompleteSymbol");
    EXPECT_EQ(symbol.size(), QSizeF(48, 48));
    EXPECT_NEAR(symbol.center().x(), 150, 0.5);
    expectColor(pixel(symbol.center() - QPointF(16, 0)), kGreen);

    services->desktop.loop->advance(Seconds{0.05});
    EXPECT_EQ(services->raises, 1);
    services->desktop.loop->advance(Seconds{1.9});
    EXPECT_TRUE(view().isVisible());
    services->desktop.loop->advance(Seconds{0.05});
    EXPECT_FALSE(view().isVisible());
}

TEST_F(SettingsLayout, ContinueWithAccessibilityAloneSwitchesToSetupComplete) {
    open(true, std::nullopt);
    click(item("continueButton"));
    QTRY_VERIFY_WITH_TIMEOUT(view().rootObject()->findChild<QQuickItem*>("setupCompleteView"),
                             2000);
    QTRY_COMPARE_WITH_TIMEOUT(view().size(), QSize(300, 200), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(item("setupCompleteView")->opacity(), 1.0, 2000);
    services->desktop.loop->advance(Seconds{2});
    EXPECT_FALSE(view().isVisible());
}

TEST_F(SettingsLayout, DiagnosticsOpenBelowTheirToggleAndCopyForTwoSeconds) {
    open(false, std::nullopt);
    QQuickItem* panel = item("diagnosticsPanel");
    EXPECT_FALSE(panel->isVisible());
    click(item("diagnosticsToggle"));
    QTRY_VERIFY_WITH_TIMEOUT(panel->isVisible(), 2000);
    EXPECT_NEAR(sceneRect(panel).top() - sceneRect("diagnosticsToggle").bottom(), 8, 0.5);

    QQuickItem* copy = item("copyButton");
    // Scrolled into view: the panel is below the fold.
    auto* sections = item("sections");
    sections->setProperty("contentY",
                          sections->property("contentHeight").toDouble() - sections->height());
    QTRY_VERIFY_WITH_TIMEOUT(sceneRect(copy).bottom() <= sceneRect(sections).bottom(), 2000);
    EXPECT_EQ(copy->property("title").toString(), "Copy Diagnostics");
    click(copy);
    QTRY_COMPARE_WITH_TIMEOUT(copy->property("title").toString(), QString("Copied!"), 2000);
    ASSERT_TRUE(services->desktop.pasteboard->text().has_value());
    EXPECT_NE(services->desktop.pasteboard->text()->find("NOT AUTHORIZED"), std::string::npos);
    services->desktop.loop->advance(Seconds{2});
    QTRY_COMPARE_WITH_TIMEOUT(copy->property("title").toString(), QString("Copy Diagnostics"),
                              2000);
}

TEST_F(SettingsLayout, ButtonsDarkenWhilePressed) {
    open(false, std::nullopt);
    QQuickItem* recheck = item("recheckAllButton");
    const QPointF at = sceneRect(recheck).topLeft() + QPointF(4, 14);
    const int idle = pixel(at).lightness();
    QTest::mousePress(&view(), Qt::LeftButton, {}, at.toPoint());
    QTRY_VERIFY_WITH_TIMEOUT(pixel(at).lightness() < idle, 2000);
    QTest::mouseRelease(&view(), Qt::LeftButton, {}, at.toPoint());
}

} // namespace
} // namespace velmora
