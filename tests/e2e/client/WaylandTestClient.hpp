#pragma once

#include "TestClientOptions.hpp"

namespace velmora::e2e {

/// The test application on a Wayland compositor, through Qt: the same windows of one colour
/// and the same log ("key <keycode>", "button <n> window <i>", the wheel as buttons 4 to 7)
/// and ready file as the X client; its desktop file name is the app id.
int runWaylandTestClient(const TestClientOptions& options, int argc, char** argv);

} // namespace velmora::e2e
