#pragma once

#include <string_view>

namespace velmora::scenario {

/// The built-in scenario that `velmora-sim` runs without arguments: one lock and unlock, an
/// idle relock and a sleep, with a few expectations.
std::string_view demoScenario();

} // namespace velmora::scenario
