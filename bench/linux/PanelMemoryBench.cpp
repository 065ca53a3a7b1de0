// Resident memory of Velmora across uses of its panel: the real program on a private Xvfb
// with openbox and a tray (trayer), three protected applications on its list. The panel is
// opened from the tray icon and closed with Escape once to warm up, then 20 times more; the
// kernel's accounting of the process is read from /proc after each quiet spell.
#include "harness/Eventually.hpp"
#include "support/BenchDesktop.hpp"
#include "support/ProcessMemory.hpp"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <thread>

namespace velmora::bench {
namespace {

constexpr int kRounds = 20;
constexpr int kPanelWidth = 350;
constexpr auto kQuietSpell = std::chrono::seconds{3};
// Read strictly: 5 MB of 10^6 bytes.
constexpr double kTargetKilobytes = 5e6 / 1024;

class PanelRounds {
public:
    PanelRounds() : desktop_(kThreeProtectedApps, {.trayHost = true}) { desktop_.startVelmora(); }

    /// Opens the panel from the tray icon, the rightmost in the tray along the top edge,
    /// and closes it again with Escape.
    void openAndClose() {
        const e2e::ScreenRect screen = desktop_.desktop().display().rootRect();
        desktop_.desktop().xdo().click(screen.width - 12, 12);
        if (!e2e::eventually([&] { return panelShows(); })) {
            throw std::runtime_error("the tray icon opened no panel\n" +
                                     desktop_.velmora().report());
        }
        desktop_.desktop().xdo().key("Escape");
        if (!e2e::eventually([&] { return !panelShows(); })) {
            throw std::runtime_error("Escape did not close the panel");
        }
    }

    long settledRss() {
        std::this_thread::sleep_for(kQuietSpell);
        if (!desktop_.velmora().isRunning()) {
            throw std::runtime_error("velmora ended\n" + desktop_.velmora().report());
        }
        return memoryStatus(desktop_.velmora().pid())["VmRSS"];
    }

private:
    bool panelShows() {
        return desktop_.desktop()
            .display()
            .find([&](const e2e::WindowInfo& info) {
                return info.viewable && info.overrideRedirect && desktop_.isVelmoraWindow(info) &&
                       info.geometry.width == kPanelWidth;
            })
            .has_value();
    }

    BenchDesktop desktop_;
};

} // namespace
} // namespace velmora::bench

int main() {
    using namespace velmora::bench;
    long before = 0;
    long after = 0;
    try {
        PanelRounds rounds;
        rounds.openAndClose();
        before = rounds.settledRss();
        for (int round = 0; round < kRounds; ++round) {
            rounds.openAndClose();
        }
        after = rounds.settledRss();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "PanelMemoryBench: %s\n", error.what());
        return 1;
    }
    const double growth = static_cast<double>(after - before);
    std::printf("Velmora's panel opened from the tray and closed %d times, 3 applications listed\n",
                kRounds);
    std::printf("  VmRSS after the first   %8.1f MiB\n", static_cast<double>(before) / 1024.0);
    std::printf("  VmRSS after %d more     %8.1f MiB\n", kRounds,
                static_cast<double>(after) / 1024.0);
    std::printf("  growth                  %8.1f MiB\n", growth / 1024.0);
    std::printf("  growth target < 5 MB (%.1f MiB): %s\n", kTargetKilobytes / 1024.0,
                growth < kTargetKilobytes ? "met" : "MISSED");
    return 0;
}
