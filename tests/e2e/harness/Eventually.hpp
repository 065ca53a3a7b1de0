#pragma once

#include <chrono>
#include <functional>

namespace velmora::e2e {

/// Checks `condition` until it holds or `timeout` has passed, looking again every few
/// milliseconds, and answers whether it held. For state that announces itself through no
/// event we can wait on (files another process writes, X properties of foreign windows).
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds{5});

} // namespace velmora::e2e
