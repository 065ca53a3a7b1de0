// Resident memory of Velmora at rest: the real program in the tray (trayer) of a private Xvfb
// with openbox, its panel never opened, or with `--no-tray` on a desktop without a tray, where
// its panel is a window shown at start; three protected applications running (test clients
// under three identities) and an unprotected backdrop in front. One protected application is
// brought to the front once and covered, then the backdrop again; its overlay stays, as a
// locked application's does. After a quiet spell the kernel's accounting of the process is
// read from /proc. Then, beside it on the same desktop, the same for the least a Qt program like
// it holds: a tray icon and one Qt Quick card drawn in software (velmora-bench-bare-card).
#include "X11Testing/ChildProcess.hpp"
#include "support/BenchDesktop.hpp"
#include "support/ProcessMemory.hpp"

#include <cstdio>
#include <exception>
#include <map>
#include <string_view>
#include <thread>

namespace velmora::bench {
namespace {

constexpr auto kQuietSpell = std::chrono::seconds{10};
// Read strictly: 50 MB of 10^6 bytes.
constexpr double kTargetKilobytes = 50e6 / 1024;
const BenchApp kBackdrop{"org.velmora.BenchBackdrop", "Bench Backdrop", "BenchBackdrop", false};
const char* const kFields[] = {"VmRSS", "RssAnon", "RssFile", "RssShmem", "VmHWM"};

struct Weights {
    std::map<std::string, long> velmora;
    std::map<std::string, long> bareCard;
};

Weights settledVelmora(bool trayHost) {
    std::vector<BenchApp> apps = kThreeProtectedApps;
    apps.push_back(kBackdrop);
    BenchDesktop desktop(apps, {.trayHost = trayHost});
    std::vector<e2e::WindowInfo> windows;
    int x = 40;
    for (const BenchApp& app : kThreeProtectedApps) {
        windows.push_back(desktop.launch(app, "360x280+" + std::to_string(x) + "+80",
                                         e2e::Rgb::fromHex(0xff00ff)));
        x += 400;
    }
    // Started last, so it is in front when Velmora starts and nothing is covered yet.
    const auto backdrop = desktop.launch(kBackdrop, "1200x300+40+460", e2e::Rgb::fromHex(0x2060a0));
    desktop.startVelmora();

    if (!desktop.desktop().xdo().activate(windows.front().window) ||
        !desktop.waitForOverlayOver(windows.front())) {
        throw std::runtime_error("the first protected application was not covered");
    }
    if (!desktop.desktop().xdo().activate(backdrop.window)) {
        throw std::runtime_error("the backdrop did not come back to the front");
    }
    std::this_thread::sleep_for(kQuietSpell);
    if (!desktop.velmora().isRunning()) {
        throw std::runtime_error("velmora ended\n" + desktop.velmora().report());
    }
    Weights weights{memoryStatus(desktop.velmora().pid()), {}};
    // The floor, on the same desktop: what any Qt program with a tray icon and a Qt Quick card
    // holds.
    const testing::ChildProcess bare({VELMORA_BARE_CARD}, desktop.desktop().environment());
    std::this_thread::sleep_for(kQuietSpell);
    weights.bareCard = memoryStatus(bare.pid());
    return weights;
}

} // namespace
} // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    const bool trayHost = !(argc > 1 && std::string_view(argv[1]) == "--no-tray");
    Weights weights;
    try {
        weights = settledVelmora(trayHost);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "IdleMemoryBench: %s\n", error.what());
        return 1;
    }
    std::printf("Idle velmora %s, 3 protected applications running, one covered (%lld s after)\n",
                trayHost ? "in the tray" : "without a tray, its panel shown",
                static_cast<long long>(kQuietSpell.count()));
    std::printf("  %-9s %12s %12s\n", "", "Velmora", "bare card");
    for (const char* field : kFields) {
        std::printf("  %-9s %8.1f MiB %8.1f MiB\n", field,
                    static_cast<double>(weights.velmora[field]) / 1024.0,
                    static_cast<double>(weights.bareCard[field]) / 1024.0);
    }
    std::printf("  VmRSS target < 50 MB (%.1f MiB): %s\n", kTargetKilobytes / 1024.0,
                static_cast<double>(weights.velmora["VmRSS"]) < kTargetKilobytes ? "met"
                                                                                 : "MISSED");
    std::printf("  (bare card: a Qt program with only a tray icon and one Qt Quick card)\n");
    return 0;
}
