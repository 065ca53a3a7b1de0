#pragma once

#include "harness/CompositorDesktop.hpp"
#include "harness/KWinSession.hpp"

namespace velmora::e2e {

using KWinDesktop = CompositorDesktop<KWinSession>;

} // namespace velmora::e2e
