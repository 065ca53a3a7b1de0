#include "Ui/OverlayContentAdaptor.hpp"
#include "Ui/RecordingOverlayContent.hpp"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::RecordingOverlayContent;

TEST(OverlayContentAdaptor, RunsActionsAfterTheHandlerThatAskedEvenIfTheAdaptorIsGone) {
    auto content = std::make_shared<RecordingOverlayContent>();
    auto* adaptor = new OverlayContentAdaptor(content);

    adaptor->unlock();
    adaptor->minimize();
    adaptor->backgroundClicked();
    EXPECT_EQ(content->unlocks + content->minimizes + content->backgroundTaps, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(content->unlocks, 1);
    EXPECT_EQ(content->minimizes, 1);
    EXPECT_EQ(content->backgroundTaps, 1);

    // Content replaced between the click and its turn: the stale click is dropped.
    adaptor->unlock();
    delete adaptor;
    QCoreApplication::processEvents();
    EXPECT_EQ(content->unlocks, 1);
}

} // namespace
} // namespace velmora
