// CPU time Velmora's input taps spend on one key press: XcbConnection and XInputEventTaps in
// this process on a private Xvfb with openbox, key presses made through XTEST on a second
// connection. Each press is made and handed to the server first; only then is the process's
// CPU clock read around the event loop until the tap has heard it, so making the press is not
// counted. A key press is aimed at the process owning the focused window: a managed window is
// answered from the client list; a window inside one is searched for once and remembered.
#include "Platform/Linux/X11ClientList.hpp"
#include "Platform/Linux/XInputEventTaps.hpp"
#include "Platform/Linux/XcbConnection.hpp"
#include "Ui/QtRunLoop.hpp"
#include "X11Testing/TestApplication.hpp"
#include "X11Testing/WaitUntil.hpp"
#include "X11Testing/XvfbServer.hpp"
#include "support/FakeInput.hpp"
#include "support/Summary.hpp"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <exception>
#include <functional>
#include <memory>
#include <numeric>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace velmora::bench {
namespace {

constexpr int kEvents = 2000;
constexpr xcb_keycode_t kKeycode = 38;
constexpr double kTargetMicroseconds = 50;
constexpr auto kWatchdog = std::chrono::seconds{60};

class DiscardingLogger final : public Logging {
public:
    void log(std::string_view, LogLevel, std::string_view, std::string_view, int) override {}
};

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

/// Where the focus is for a press: press 0 is unmeasured, 1 to kEvents are measured.
struct Focus {
    const char* name;
    std::function<xcb_window_t(int)> window;
};

struct Row {
    const char* focus;
    /// The CPU time of all presses over their number.
    double meanMicroseconds;
    double medianMicroseconds;
    int misattributed;
};

class XInputCost {
public:
    XInputCost()
        : server_({.windowManager = true}),
          application_(server_, {"--geometry", "400x300+100+100"}), input_(server_.display()) {
        connection_ = XcbConnection::open(server_.display(), runLoop_);
        if (!connection_) {
            throw std::runtime_error("cannot connect to " + server_.display());
        }
        clients_ =
            std::make_shared<X11ClientList>(connection_, std::make_shared<DiscardingLogger>());
        taps_ = std::make_unique<XInputEventTaps>(connection_, clients_);
        tap_ = taps_->createListenOnlyTap(inputEventMaskBit(InputEventType::keyDown),
                                          [this](const InputEvent& event) {
                                              ++heard_;
                                              lastTarget_ = event.targetPid;
                                          });
        if (!tap_) {
            throw std::runtime_error("the X server has no XInput 2.2");
        }
        tap_->setEnabled(true);
        // The selection is in force, and the application's window known, before any press.
        connection_->reply(xcb_get_input_focus_reply, xcb_get_input_focus(connection_->get()));
        if (!testing::waitUntil(
                [&] { return clients_->client(application_.window()) != nullptr; })) {
            throw std::runtime_error("openbox did not list the application's window");
        }
        createSubwindows();
        watchdog_.setSingleShot(true);
    }

    std::vector<Row> run() {
        const xcb_window_t window = application_.window();
        const std::vector<Focus> foci{
            {"the application's window", [=](int) { return window; }},
            {"a window inside it, owner remembered", [this](int) { return subwindows_[0]; }},
            {"a new window inside it each time", [this](int i) { return subwindows_[i]; }},
        };
        watchdog_.start(kWatchdog);
        // Unmeasured, with the windows of press 0: whatever is remembered is filled in.
        for (const Focus& focus : foci) {
            timedPress(focus.window(0));
        }
        std::vector<std::vector<double>> spent(foci.size());
        std::vector<int> misattributed(foci.size());
        // In turns, so that whatever else the machine does weighs on each alike.
        for (int i = 1; i <= kEvents; ++i) {
            for (std::size_t f = 0; f < foci.size(); ++f) {
                spent[f].push_back(timedPress(foci[f].window(i)));
                misattributed[f] += lastTarget_ == application_.pid() ? 0 : 1;
            }
        }
        watchdog_.stop();
        std::vector<Row> rows;
        for (std::size_t f = 0; f < foci.size(); ++f) {
            const double total = std::accumulate(spent[f].begin(), spent[f].end(), 0.0);
            rows.push_back(
                {foci[f].name, total / kEvents, Summary::of(spent[f]).p50, misattributed[f]});
        }
        return rows;
    }

private:
    // One for each measured press and one for the unmeasured press before them.
    void createSubwindows() {
        xcb_connection_t* c = input_.connection();
        for (int i = 0; i < kEvents + 1; ++i) {
            const xcb_window_t window = xcb_generate_id(c);
            xcb_create_window(c, XCB_COPY_FROM_PARENT, window, application_.window(), 0, 0, 1, 1, 0,
                              XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
            xcb_map_window(c, window);
            subwindows_.push_back(window);
        }
        input_.sync();
    }

    void press(xcb_window_t focus) {
        xcb_set_input_focus(input_.connection(), XCB_INPUT_FOCUS_PARENT, focus, XCB_CURRENT_TIME);
        input_.key(kKeycode);
        input_.sync();
    }

    // Runs the event loop, and nothing else, until the tap has heard `count` events.
    bool hear(std::size_t count) {
        auto* dispatcher = QAbstractEventDispatcher::instance();
        while (heard_ < count && watchdog_.isActive()) {
            QCoreApplication::sendPostedEvents();
            dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        }
        return heard_ >= count;
    }

    /// Makes a key press with `focus` focused and answers the process CPU time, in
    /// microseconds, spent until the tap has heard it.
    double timedPress(xcb_window_t focus) {
        press(focus);
        const double before = processCpuSeconds();
        if (!hear(heard_ + 1)) {
            throw std::runtime_error("the tap did not hear a key press");
        }
        return (processCpuSeconds() - before) * 1e6;
    }

    testing::XvfbServer server_;
    testing::TestApplication application_;
    FakeInput input_;
    std::shared_ptr<QtRunLoop> runLoop_ = std::make_shared<QtRunLoop>();
    std::shared_ptr<XcbConnection> connection_;
    std::shared_ptr<X11ClientList> clients_;
    std::unique_ptr<XInputEventTaps> taps_;
    std::unique_ptr<EventTap> tap_;
    std::vector<xcb_window_t> subwindows_;
    std::size_t heard_ = 0;
    std::int32_t lastTarget_ = 0;
    QTimer watchdog_;
};

} // namespace
} // namespace velmora::bench

int main(int argc, char** argv) {
    using namespace velmora::bench;
    QCoreApplication application(argc, argv);
    std::vector<Row> rows;
    try {
        rows = XInputCost().run();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "XInputCostBench: %s\n", error.what());
        return 1;
    }
    std::printf("Process CPU time per XInput key press in us, %d presses each, in turns "
                "(target: mean < %.0f us)\n",
                kEvents, kTargetMicroseconds);
    std::printf("  %-40s %8s %8s %8s\n", "focused window", "mean", "median", "target");
    for (const Row& row : rows) {
        std::printf("  %-40s %8.2f %8.2f %8s\n", row.focus, row.meanMicroseconds,
                    row.medianMicroseconds,
                    row.meanMicroseconds < kTargetMicroseconds ? "met" : "MISSED");
        if (row.misattributed > 0) {
            std::printf("    %d presses were aimed at another process than the focused one\n",
                        row.misattributed);
        }
    }
    return 0;
}
