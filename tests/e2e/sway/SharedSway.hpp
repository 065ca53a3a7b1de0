#pragma once

#include "harness/SwaySession.hpp"

namespace velmora::e2e {

/// The one sway every test of the suite shares; nothing when sway, grim or wtype is missing
/// (the tests then skip).
SwaySession* sharedSway();

} // namespace velmora::e2e
