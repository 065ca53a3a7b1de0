// What Velmora costs at rest: the real program in the tray of a private Xvfb with openbox,
// first with an unprotected backdrop in front and nothing covered, then with one protected
// application in front under its card. Over each spell, all of its threads' context switches
// (wake-ups) and CPU time are read from /proc.
#include "support/BenchDesktop.hpp"
#include "support/ProcessActivity.hpp"

#include <cstdio>
#include <exception>
#include <thread>

namespace velmora::bench {
namespace {

constexpr double kTargetWakeUps = 5.0;
constexpr double kTargetCorePercent = 0.1;
constexpr auto kSettle = std::chrono::seconds{3};
constexpr auto kBaseline = std::chrono::seconds{20};
constexpr auto kCovered = std::chrono::seconds{60};
const BenchApp kProtectedApp{"org.velmora.BenchNotes", "Bench Notes", "BenchNotes"};
const BenchApp kBackdrop{"org.velmora.BenchBackdrop", "Bench Backdrop", "BenchBackdrop", false};

struct Rate {
    double wakeUps;
    double corePercent;
};

Rate measure(int pid, std::chrono::seconds spell) {
    std::this_thread::sleep_for(kSettle);
    const ProcessActivity before = ProcessActivity::of(pid);
    std::this_thread::sleep_for(spell);
    const ProcessActivity::Change change = ProcessActivity::of(pid).since(before);
    const auto seconds = static_cast<double>(spell.count());
    return {static_cast<double>(change.switches) / seconds, 100.0 * change.cpuSeconds / seconds};
}

void print(const char* what, const Rate& rate) {
    std::printf("  %-28s %7.2f wake-ups/s  %6.3f%% of a core\n", what, rate.wakeUps,
                rate.corePercent);
}

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    try {
        BenchDesktop desktop({kProtectedApp, kBackdrop}, {.trayHost = true});
        desktop.startVelmora();
        desktop.launch(kBackdrop, "1200x720+20+20", velmora::e2e::Rgb::fromHex(0x2060a0));
        const int pid = desktop.velmora().pid();
        const Rate idle = measure(pid, kBaseline);

        const auto window =
            desktop.launch(kProtectedApp, "480x360+300+200", velmora::e2e::Rgb::fromHex(0xff00ff));
        if (!desktop.desktop().xdo().activate(window.window) ||
            !desktop.waitForOverlayOver(window)) {
            throw std::runtime_error("the protected application was not covered");
        }
        const Rate covered = measure(pid, kCovered);
        if (!desktop.velmora().isRunning()) {
            throw std::runtime_error("velmora ended\n" + desktop.velmora().report());
        }
        std::printf("Velmora at rest, all threads (%lld s, then %lld s)\n",
                    static_cast<long long>(kBaseline.count()),
                    static_cast<long long>(kCovered.count()));
        print("nothing covered", idle);
        print("one application covered", covered);
        std::printf("targets while covered: < %.0f wake-ups/s %s, < %.1f%% of a core %s\n",
                    kTargetWakeUps, covered.wakeUps < kTargetWakeUps ? "met" : "MISSED",
                    kTargetCorePercent,
                    covered.corePercent < kTargetCorePercent ? "met" : "MISSED");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "RestingCostBench: %s\n", error.what());
        return 1;
    }
    return 0;
}
