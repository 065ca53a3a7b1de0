#include "Ui/QtOverlayWindow.hpp"
#include "Ui/QtOverlayWindowFactory.hpp"
#include "Ui/RecordingOverlayContent.hpp"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickView>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::RecordingOverlayContent;

constexpr Rect kFrame{0, 0, 800, 600};

struct OverlayLayout : ::testing::Test {
    std::shared_ptr<QtOverlayWindowFactory> factory = std::make_shared<QtOverlayWindowFactory>();
    std::shared_ptr<QtOverlayWindow> window = factory->makeQtWindow();
    std::shared_ptr<RecordingOverlayContent> content = std::make_shared<RecordingOverlayContent>();

    void TearDown() override { window->hide(); }

    void show(std::shared_ptr<RecordingOverlayContent> shown, Rect frame = kFrame) {
        content = std::move(shown);
        window->show(frame, content);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window->view()));
        // The replaced card goes on a later turn; let it go before items are looked up.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void show() { show(content); }

    QQuickItem* item(const char* name) const {
        auto* found = window->view().rootObject()->findChild<QQuickItem*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QRectF sceneRect(const char* name) const {
        QQuickItem* it = item(name);
        return it ? it->mapRectToScene(it->boundingRect()) : QRectF();
    }
    QPoint centre(const char* name) const { return sceneRect(name).center().toPoint(); }
};

TEST_F(OverlayLayout, CardIsCentredWithItsButtonsInside) {
    show();
    const QRectF card = sceneRect("card");
    EXPECT_NEAR(card.center().x(), 400, 0.5);
    EXPECT_NEAR(card.center().y(), 300, 0.5);
    for (const char* name : {"iconCircle", "unlockButton", "minimizeButton"}) {
        EXPECT_TRUE(card.contains(sceneRect(name))) << name;
    }
    EXPECT_LT(sceneRect("unlockButton").bottom(), sceneRect("minimizeButton").top());
}

TEST_F(OverlayLayout, BottomOfTheCardFollowsWhetherMinimizeIsOffered) {
    std::vector<double> belowUnlock;
    for (const bool minimizable : {true, false}) {
        SCOPED_TRACE(minimizable);
        auto shown = std::make_shared<RecordingOverlayContent>();
        shown->minimizable = minimizable;
        show(shown);
        EXPECT_EQ(item("minimizeSection")->isVisible(), minimizable);
        belowUnlock.push_back(sceneRect("card").bottom() - sceneRect("unlockButton").bottom());
    }
    // Without Minimize the card ends closer below Unlock, though not flush with it.
    EXPECT_GT(belowUnlock[0], belowUnlock[1]);
    EXPECT_GT(belowUnlock[1], 0);
}

TEST_F(OverlayLayout, LongNameWrapsToTwoLinesAndIsCut) {
    auto shown = std::make_shared<RecordingOverlayContent>();
    shown->name = "A Remarkably Long Application Name That Goes On And On Well Past Any "
                  "Reasonable Length For A Card";
    show(shown);
    QQuickItem* name = item("appName");
    EXPECT_EQ(name->property("lineCount").toInt(), 2);
    EXPECT_TRUE(name->property("truncated").toBool());
    EXPECT_TRUE(sceneRect("card").contains(sceneRect("appName")));
}

TEST_F(OverlayLayout, TheCoverHidesTheWindowBelowIntoItsCorners) {
    show();
    for (const QPoint point : {QPoint(40, 300), QPoint(0, 0), QPoint(799, 599)}) {
        const QColor cover = window->view().grabWindow().pixelColor(point);
        EXPECT_LE(cover.lightness(), 12) << point.x() << "," << point.y();
        EXPECT_EQ(cover.alpha(), 255);
    }
    EXPECT_TRUE(window->view().mask().isEmpty());
}

TEST_F(OverlayLayout, ClicksReachTheirActions) {
    show();
    struct Row {
        const char* target;
        int RecordingOverlayContent::*counter;
    };
    const Row rows[] = {
        {"unlockButton", &RecordingOverlayContent::unlocks},
        {"minimizeButton", &RecordingOverlayContent::minimizes},
        {nullptr, &RecordingOverlayContent::backgroundTaps},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target ? row.target : "cover");
        const QPoint at = row.target ? centre(row.target) : QPoint(60, 60);
        QTest::mouseClick(&window->view(), Qt::LeftButton, {}, at);
        EXPECT_TRUE(QTest::qWaitFor([&] { return (*content).*row.counter == 1; }, 2000));
    }
    EXPECT_EQ(content->unlocks + content->minimizes + content->backgroundTaps, 3);

    // A click on the card outside its buttons does nothing at all.
    QTest::mouseClick(&window->view(), Qt::LeftButton, {}, centre("iconCircle"));
    QCoreApplication::processEvents();
    EXPECT_EQ(content->unlocks + content->minimizes + content->backgroundTaps, 3);
}

TEST_F(OverlayLayout, FrameIsPlacedFromTheBottomLeftOfThePrimaryScreen) {
    const QRect primary = QGuiApplication::primaryScreen()->geometry();
    show(content, {100, 50, 400, 300});
    EXPECT_EQ(window->view().geometry(),
              QRect(primary.x() + 100, primary.y() + primary.height() - 350, 400, 300));
}

} // namespace
} // namespace velmora
