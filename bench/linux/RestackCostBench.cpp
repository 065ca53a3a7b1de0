// What it costs Velmora to keep a cover directly above a locked window that is not in front:
// a protected application sits locked behind an unprotected one, and the window manager is
// asked, again and again, to move the unprotected one below it and back above it. Velmora's
// CPU time over those restacks, less what it uses at rest over as long, is divided by the
// number of restack events: the managed windows the server announced configured, several
// for each request where the window manager restacks its whole list. A bare X client that
// hears the same events, and does nothing else, gives the floor on this machine.
#include "harness/Eventually.hpp"
#include "support/BenchDesktop.hpp"
#include "support/CoverProbe.hpp"
#include "support/CoverRounds.hpp"
#include "support/ProcessActivity.hpp"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <functional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <thread>
#include <unistd.h>
#include <xcb/xcb.h>

namespace velmora::bench {
namespace {

constexpr double kTargetMicroseconds = 50;
constexpr int kRestacks = 1000;
// Apart enough that each restack is handled on its own, not folded into the next.
constexpr auto kSpacing = std::chrono::milliseconds{4};
const BenchApp kProtectedApp{"org.velmora.BenchNotes", "Bench Notes", "BenchNotes"};

ProcessActivity::Change activityOver(int pid, const std::function<void()>& spell) {
    const ProcessActivity before = ProcessActivity::of(pid);
    spell();
    return ProcessActivity::of(pid).since(before);
}

/// Selects what Velmora selects on the root and only reads it, on a thread of its own.
class BareListener {
public:
    explicit BareListener(const std::string& display)
        : connection_(xcb_connect(display.c_str(), nullptr)) {
        if (xcb_connection_has_error(connection_) || pipe(stop_) != 0) {
            throw std::runtime_error("the bare listener cannot start");
        }
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(
            connection_, xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root,
            XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        thread_ = std::thread([this] { listen(); });
    }
    ~BareListener() {
        close(stop_[1]);
        thread_.join();
        close(stop_[0]);
        xcb_disconnect(connection_);
    }
    BareListener(const BareListener&) = delete;
    BareListener& operator=(const BareListener&) = delete;

    [[nodiscard]] double cpuSeconds() const { return cpuSeconds_.load(); }

private:
    void listen() {
        pollfd fds[] = {{xcb_get_file_descriptor(connection_), POLLIN, 0}, {stop_[0], POLLIN, 0}};
        while (poll(fds, 2, -1) > 0 && fds[1].revents == 0) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                std::free(event);
            }
            timespec used{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
            cpuSeconds_.store(static_cast<double>(used.tv_sec) + used.tv_nsec / 1e9);
        }
    }

    xcb_connection_t* connection_;
    int stop_[2] = {-1, -1};
    std::atomic<double> cpuSeconds_{0};
    std::thread thread_;
};

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
        const ProcessActivity::Change atRest =
            activityOver(pid, [&] { std::this_thread::sleep_for(spell); });
        pager.takeManagedConfigures();
        BareListener bare(desktop.display());
        std::this_thread::sleep_for(std::chrono::milliseconds{100});
        const double bareBefore = bare.cpuSeconds();
        int events = 0;
        const ProcessActivity::Change restacking = activityOver(pid, [&] {
            for (int index = 0; index < kRestacks; ++index) {
                pager.restack(backdrop.window, index % 2 != 0);
                std::this_thread::sleep_for(kSpacing);
                events += pager.takeManagedConfigures();
            }
        });
        if (!desktop.waitForOverlayOver(
                desktop.desktop().display().window(locked.window).value_or(locked))) {
            throw std::runtime_error("the locked application lost its cover");
        }
        const double floor = (bare.cpuSeconds() - bareBefore) * 1e6 / std::max(events, 1);
        const double cost = (restacking.cpuSeconds - atRest.cpuSeconds) * 1e6;
        const double perEvent = cost / std::max(events, 1);
        std::printf("Velmora's CPU per restack event beside a covered window, %d requests %lld "
                    "ms apart, %d events\n",
                    kRestacks, static_cast<long long>(kSpacing.count()), events);
        std::printf("  at rest %.1f ms, restacking %.1f ms: %.1f us per request, %.1f us per "
                    "restack event\n",
                    atRest.cpuSeconds * 1e3, restacking.cpuSeconds * 1e3, cost / kRestacks,
                    perEvent);
        std::printf("  %.1f wake-ups per request, at rest %ld\n",
                    static_cast<double>(restacking.switches - atRest.switches) / kRestacks,
                    atRest.switches);
        std::printf("  a bare X client hearing the same events: %.1f us per restack event\n",
                    floor);
        std::printf("target < %.0f us per event %s\n", kTargetMicroseconds,
                    perEvent < kTargetMicroseconds ? "met" : "MISSED");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "RestackCostBench: %s\n", error.what());
        return 1;
    }
    return 0;
}
