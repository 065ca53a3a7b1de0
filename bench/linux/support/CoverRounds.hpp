#pragma once

#include "harness/ScreenRect.hpp"
#include "support/BenchDesktop.hpp"

#include <chrono>
#include <cstdint>

namespace velmora::bench {

// What the benchmarks that time covers round after round share: how many rounds, how long
// a round may take, the unprotected backdrop that comes to the front after a Minimize, and
// the colours on the screen.

constexpr int kWarmUpRounds = 5;
constexpr int kRounds = 200;
constexpr auto kCoverTimeout = std::chrono::seconds{2};
// Time for Velmora and openbox to finish with the backdrop's activation after a Minimize.
constexpr auto kSettleTime = std::chrono::milliseconds{150};
constexpr std::uint32_t kIconicState = 3;

inline const BenchApp kBackdrop{"org.velmora.BenchBackdrop", "Bench Backdrop", "BenchBackdrop",
                                false};
constexpr e2e::Rgb kProtectedColor = e2e::Rgb::fromHex(0xff00ff);
constexpr e2e::Rgb kBackdropColor = e2e::Rgb::fromHex(0x2060a0);
// The cover is black at 95 % with a faint sheen; neither client colour comes near it.
constexpr e2e::Rgb kCoverColor = e2e::Rgb::fromHex(0x000000);
constexpr int kCoverTolerance = 0x20;

} // namespace velmora::bench
