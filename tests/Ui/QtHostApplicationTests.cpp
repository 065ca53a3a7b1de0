#include "Support/ManualRunLoop.hpp"
#include "Ui/QtHostApplication.hpp"

#include <QGuiApplication>
#include <QRasterWindow>
#include <gtest/gtest.h>

namespace velmora {
namespace {

struct RecordingDelegate final : ApplicationDelegate {
    TerminateReply reply = TerminateReply::later;
    std::vector<std::string> calls;

    void applicationDidFinishLaunching() override { calls.push_back("didFinishLaunching"); }
    TerminateReply applicationShouldTerminate() override {
        calls.push_back("shouldTerminate");
        return reply;
    }
    void applicationWillTerminate() override { calls.push_back("willTerminate"); }
};

struct HostApplication : ::testing::Test {
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    int quits = 0;
    QtHostApplication app{loop, [this] { ++quits; }};
    std::shared_ptr<RecordingDelegate> delegate = std::make_shared<RecordingDelegate>();

    void SetUp() override { app.setDelegate(delegate); }
};

using Calls = std::vector<std::string>;

TEST_F(HostApplication, TerminateFollowsTheDelegatesAnswer) {
    for (const auto& [reply, calls] :
         {std::pair{TerminateReply::now, Calls{"shouldTerminate", "willTerminate"}},
          std::pair{TerminateReply::cancel, Calls{"shouldTerminate"}}}) {
        SCOPED_TRACE(static_cast<int>(reply));
        int quitCount = 0;
        QtHostApplication fresh(loop, [&] { ++quitCount; });
        auto answering = std::make_shared<RecordingDelegate>();
        answering->reply = reply;
        fresh.setDelegate(answering);
        fresh.terminate();
        EXPECT_EQ(answering->calls, calls);
        EXPECT_EQ(quitCount, calls.size() == 2 ? 1 : 0);
        EXPECT_EQ(fresh.isTerminated(), calls.size() == 2);
    }
}

TEST_F(HostApplication, RequestsWhileOneIsPendingAreDroppedAndARefusalAllowsAnother) {
    app.terminate();
    app.terminate();
    EXPECT_TRUE(app.isTerminationPending());
    EXPECT_EQ(delegate->calls, (Calls{"shouldTerminate"}));

    app.replyToApplicationShouldTerminate(false);
    app.replyToApplicationShouldTerminate(true);
    EXPECT_EQ(quits, 0) << "an answer without a pending request ends nothing";

    app.terminate();
    app.replyToApplicationShouldTerminate(true);
    app.terminate();
    EXPECT_EQ(delegate->calls, (Calls{"shouldTerminate", "shouldTerminate", "willTerminate"}));
    EXPECT_EQ(quits, 1);
}

TEST_F(HostApplication, BecomingActiveIsToldOnTheMainQueue) {
    int heard = 0;
    Subscription subscription = app.observeDidBecomeActive([&] { ++heard; });
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_EQ(heard, 0);
    loop->runUntilIdle();
    EXPECT_EQ(heard, 1);

    subscription.reset();
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationInactive);
    Q_EMIT qGuiApp->applicationStateChanged(Qt::ApplicationActive);
    loop->runUntilIdle();
    EXPECT_EQ(heard, 1);
}

TEST_F(HostApplication, ListsOnlyMarkedWindowsAndFloatsManagedOnes) {
    QRasterWindow overlayLike;
    QRasterWindow settings;
    QtHostApplication::setWindowKind(settings, AppWindowKind::standard);
    QRasterWindow picker;
    QtHostApplication::setWindowKind(picker, AppWindowKind::openPanel);
    settings.show();

    const auto windows = app.windows();
    ASSERT_EQ(windows.size(), 2u);
    const auto& shown = windows[0].kind == AppWindowKind::standard ? windows[0] : windows[1];
    const auto& hidden = windows[0].kind == AppWindowKind::standard ? windows[1] : windows[0];
    EXPECT_TRUE(shown.visible);
    EXPECT_EQ(hidden.kind, AppWindowKind::openPanel);
    EXPECT_FALSE(hidden.visible);

    app.setWindowLevel(shown.id, kFloatingWindowLevel);
    EXPECT_TRUE(settings.flags().testFlag(Qt::WindowStaysOnTopHint));
    app.setWindowLevel(shown.id, kNormalWindowLevel);
    EXPECT_FALSE(settings.flags().testFlag(Qt::WindowStaysOnTopHint));

    app.makeKeyAndOrderFront(hidden.id);
    EXPECT_TRUE(picker.isVisible());
    app.makeKeyAndOrderFront(-1);
}

} // namespace
} // namespace velmora
