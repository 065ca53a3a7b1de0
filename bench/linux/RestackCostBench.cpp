// What it costs Velmora to keep a cover directly above a locked window that is not in front:
// a protected application sits locked behind an unprotected one, and the window manager is
// asked, again and again, to move the unprotected one below it and back above it. Velmora's
// CPU time over those restacks, less what it uses at rest over as long, is divided by their
// number.
#include "harness/Eventually.hpp"
#include "support/BenchDesktop.hpp"
#include "support/CoverProbe.hpp"
#include "support/CoverRounds.hpp"
#include "support/ProcessActivity.hpp"

#include <cstdio>
#include <exception>
#include <functional>
#include <stdexcept>
#include <thread>

namespace velmora::bench {
namespace {

constexpr double kTargetMicroseconds = 50;
constexpr int kRestacks = 1000;
// Apart enough that each restack is handled on its own, not folded into the next.
constexpr auto kSpacing = std::chrono::milliseconds{4};
const BenchApp kProtectedApp{"org.velmora.BenchNotes", "Bench Notes", "BenchNotes"};

double cpuSecondsOver(int pid, const std::function<void()>& spell) {
    const ProcessActivity before = ProcessActivity::of(pid);
    spell();
    return ProcessActivity::of(pid).cpuSeconds - before.cpuSeconds;
}

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    try {
        BenchDesktop desktop({kProtectedApp, kBackdrop}, {.windowAnimations = false});
        desktop.startVelmora();
        const auto locked = desktop.launch(kProtectedApp, "480x360+300+200", kProtectedColor);
        if (!desktop.desktop().xdo().activate(locked.window) ||
            !desktop.waitForOverlayOver(locked)) {
            throw std::runtime_error("the protected application was not covered");
        }
        const auto backdrop = desktop.launch(kBackdrop, "600x400+100+100", kBackdropColor);
        desktop.desktop().xdo().activate(backdrop.window);
        std::this_thread::sleep_for(std::chrono::seconds{2});

        const int pid = desktop.velmora().pid();
        CoverProbe pager(desktop.display(), pid);
        const auto spell = kSpacing * kRestacks;
        const double atRest = cpuSecondsOver(pid, [&] { std::this_thread::sleep_for(spell); });
        const double restacking = cpuSecondsOver(pid, [&] {
            for (int index = 0; index < kRestacks; ++index) {
                pager.restack(backdrop.window, index % 2 != 0);
                std::this_thread::sleep_for(kSpacing);
            }
        });
        if (!desktop.waitForOverlayOver(
                desktop.desktop().display().window(locked.window).value_or(locked))) {
            throw std::runtime_error("the locked application lost its cover");
        }
        const double perRestack = (restacking - atRest) / kRestacks * 1e6;
        std::printf("Velmora's CPU per restack of a window beside a covered one, %d restacks "
                    "%lld ms apart\n",
                    kRestacks, static_cast<long long>(kSpacing.count()));
        std::printf("  at rest %.1f ms, restacking %.1f ms: %.1f us per restack\n", atRest * 1e3,
                    restacking * 1e3, perRestack);
        std::printf("target < %.0f us %s\n", kTargetMicroseconds,
                    perRestack < kTargetMicroseconds ? "met" : "MISSED");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "RestackCostBench: %s\n", error.what());
        return 1;
    }
    return 0;
}
