// One sway for the whole suite: it starts once, and the suite fails if it did not stay up.
// The Qt event loop carries Velmora's own IPC connections in the tests that make them.
#include "SharedSway.hpp"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <iostream>

namespace velmora::e2e {
namespace {

std::unique_ptr<SwaySession> sway;

} // namespace

SwaySession* sharedSway() {
    return sway.get();
}

} // namespace velmora::e2e

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    if (velmora::e2e::SwaySession::available()) {
        velmora::e2e::sway = std::make_unique<velmora::e2e::SwaySession>();
    }
    const int failed = RUN_ALL_TESTS();
    if (velmora::e2e::sway && !velmora::e2e::sway->isRunning()) {
        std::cout << "sway did not stay up through the suite\n";
        return 1;
    }
    velmora::e2e::sway.reset();
    return failed;
}
