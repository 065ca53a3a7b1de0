#pragma once

#include <chrono>
#include <functional>

namespace velmora::testing {

/// Runs the Qt event loop of this thread until `condition` holds or `timeout` has passed.
/// Answers whether the condition held. It checks after every batch of events, so a
/// condition that depends on X events seen through a socket notifier needs no polling.
///
///     ASSERT_TRUE(waitUntil([&] { return activated.size() == 1; }));
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds{5000});

} // namespace velmora::testing
