// The lock engine's hot paths on the simulated desktop: the input tap's callback, the
// once-per-second idle evaluation, and the road from a frontmost change to the overlay.
// Log lines go to a discarding logger and "[Brevane]" lines to a discarding stream, so the
// figures are the engine's own work, text formatting included.

#include "Core/LockEngine/LockEngine.hpp"
#include "Platform/Sim/SimDesktop.hpp"
#include "Services/AuthManager.hpp"

#include <benchmark/benchmark.h>
#include <iostream>
#include <streambuf>

namespace velmora {
namespace {

class DiscardingLogger final : public Logging {
public:
    void log(std::string_view, LogLevel, std::string_view, std::string_view, int) override {}
};

class DiscardingBuffer final : public std::streambuf {
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

/// Keeps standard output quiet for the life of a benchmark.
class QuietStdout {
public:
    QuietStdout() : previous_(std::cout.rdbuf(&buffer_)) {}
    ~QuietStdout() { std::cout.rdbuf(previous_); }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    DiscardingBuffer buffer_;
    std::streambuf* previous_;
};

/// Hands out one tap whose callback the benchmark calls directly, as the system would.
class DirectTaps final : public EventTapProviding {
public:
    class Tap final : public EventTap {
    public:
        void setEnabled(bool enabled) override { enabled_ = enabled; }
        [[nodiscard]] bool isEnabled() const override { return enabled_; }
        [[nodiscard]] std::string description() const override { return "DirectTap"; }

    private:
        bool enabled_ = false;
    };

    std::unique_ptr<EventTap> createListenOnlyTap(InputEventMask, Callback callback) override {
        this->callback = std::move(callback);
        return std::make_unique<Tap>();
    }

    Callback callback;
};

/// A monotonic clock that moves 0.6 s on every reading, so that every event passes the throttle.
class SteppingClock final : public MonotonicClock {
public:
    [[nodiscard]] std::uint64_t nanoseconds() const override { return now_ += 600'000'000; }

private:
    mutable std::uint64_t now_ = 0;
};

struct Bench {
    explicit Bench(std::shared_ptr<MonotonicClock> clock = nullptr) {
        auto logger = std::make_shared<DiscardingLogger>();
        Platform platform = desktop.platform(logger);
        platform.eventTaps = taps;
        if (clock) {
            platform.monotonicClock = clock;
        }
        appState = AppState::create(AppState::collaborators(platform));
        auto contexts = makeContextFactory(desktop.authenticator);
        engine = LockEngine::create(LockEngine::collaborators(
            platform, appState, std::make_shared<AuthManager>(desktop.loop, contexts),
            std::make_shared<OverlayWindowController>(logger, desktop.overlayWindows, contexts)));
        editor = desktop.launchApp("com.example.editor", "Editor", Rect{0, 0, 400, 300});
        desktop.activate(editor);
        engine->start();
        desktop.loop->advance(Seconds{1});
    }

    /// A protected application with a window, among a dozen other windows.
    ProcessId protect(int index) {
        const std::string bundleId = "com.example.protected.application" + std::to_string(index);
        const std::string name = "Protected Application " + std::to_string(index);
        appState->addApp(ProtectedApp::make(bundleId, name, desktop.loop->now()));
        return desktop.launchApp(bundleId, name, Rect{100.0 + index, 100, 800, 600});
    }

    QuietStdout quiet;
    SimDesktop desktop;
    std::shared_ptr<DirectTaps> taps = std::make_shared<DirectTaps>();
    std::shared_ptr<AppState> appState;
    std::shared_ptr<LockEngine> engine;
    ProcessId editor = 0;
};

void BM_TapCallbackThrottledEvent(benchmark::State& state) {
    Bench bench;
    const ProcessId target = bench.protect(0);
    const InputEvent event{InputEventType::keyDown, target};
    bench.taps->callback(event); // accepted; every later one at the same instant is throttled
    bench.desktop.loop->runUntilIdle();
    for (auto _ : state) {
        bench.taps->callback(event);
    }
    if (bench.desktop.loop->pendingTaskCount() != 0) {
        state.SkipWithError("a throttled event reached the main queue");
    }
}
BENCHMARK(BM_TapCallbackThrottledEvent);

void BM_TapCallbackAcceptedEvent(benchmark::State& state) {
    Bench bench(std::make_shared<SteppingClock>());
    const InputEvent event{InputEventType::keyDown, bench.protect(0)};
    std::size_t posted = 0;
    for (auto _ : state) {
        bench.taps->callback(event);
        if (++posted % 1024 == 0) {
            state.PauseTiming();
            bench.desktop.loop->runUntilIdle();
            state.ResumeTiming();
        }
    }
    bench.desktop.loop->runUntilIdle();
}
BENCHMARK(BM_TapCallbackAcceptedEvent);

// An accepted event and the main-queue reaction it posts (the second throttle, the
// application look-up and the activity record).
void BM_AcceptedEventWithItsReaction(benchmark::State& state) {
    Bench bench(std::make_shared<SteppingClock>());
    const InputEvent event{InputEventType::keyDown, bench.protect(0)};
    for (auto _ : state) {
        bench.taps->callback(event);
        bench.desktop.loop->advance(Seconds{0.6});
    }
}
BENCHMARK(BM_AcceptedEventWithItsReaction);

void BM_EvaluateIdleWith200TrackedApps(benchmark::State& state) {
    constexpr int kApps = 200;
    Bench bench;
    for (int i = 0; i < kApps; ++i) {
        const ProcessId pid = bench.protect(i);
        bench.engine->handleAuthSuccess({"com.example.protected.application" + std::to_string(i),
                                         pid, "Protected Application " + std::to_string(i)});
    }
    bench.desktop.activate(bench.editor);
    bench.desktop.loop->advance(Seconds{1.5});
    for (auto _ : state) {
        bench.engine->idleTracker().evaluateAllAppIdleStatus();
    }
    if (bench.engine->unlockedProtectedApps().size() != kApps) {
        state.SkipWithError("an application relocked");
    }
}
BENCHMARK(BM_EvaluateIdleWith200TrackedApps);

// From the workspace's activation of a protected application with a window to the overlay on
// screen. Counters: main-queue turns and virtual seconds on that road.
void BM_FrontmostChangeToOverlayShown(benchmark::State& state) {
    Bench bench;
    for (int i = 0; i < 10; ++i) {
        bench.desktop.windowServer->addWindow(bench.editor, 10.0 * i, 0, 300, 200);
    }
    const ProcessId target = bench.protect(0);
    const auto overlays = bench.desktop.overlayWindows;
    std::size_t turns = 0;
    double virtualSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.desktop.activate(bench.editor);
        bench.desktop.loop->advance(Seconds{0.5});
        const TimePoint start = bench.desktop.loop->now();
        state.ResumeTiming();

        bench.desktop.workspace->activate(target);
        turns = bench.desktop.loop->runUntilIdle();

        state.PauseTiming();
        virtualSeconds = Seconds(bench.desktop.loop->now() - start).count();
        if (overlays->visibleWindowCount() != 1) {
            state.SkipWithError("no overlay");
            break;
        }
        state.ResumeTiming();
    }
    state.counters["runLoopTurns"] = static_cast<double>(turns);
    state.counters["virtualSeconds"] = virtualSeconds;
}
BENCHMARK(BM_FrontmostChangeToOverlayShown);

} // namespace
} // namespace velmora
