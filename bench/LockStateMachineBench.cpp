// The cost of one decision, with the subscribers the lock engine keeps (a transition handler
// and a state mirror) connected.

#include "Core/LockEngine/LockStateMachine.hpp"

#include <benchmark/benchmark.h>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmora {
namespace {

class BenchClock final : public TimeProviding {
public:
    [[nodiscard]] TimePoint now() const override { return now_; }
    void advance(Seconds duration) { now_ += toClockDuration(duration); }

private:
    TimePoint now_{std::chrono::seconds{1735689600}};
};

class BenchChecker final : public ProtectedAppChecking {
public:
    [[nodiscard]] bool isProtected(const std::string& bundleId) const override {
        return bundleIds.contains(bundleId);
    }
    std::unordered_set<std::string> bundleIds;
};

struct Fixture {
    static constexpr int appCount = 100;

    std::shared_ptr<BenchClock> clock = std::make_shared<BenchClock>();
    std::shared_ptr<BenchChecker> checker = std::make_shared<BenchChecker>();
    LockStateMachine machine{LockConfiguration{}, clock, checker};
    std::vector<LockEvent> frontmostEvents;
    Subscription handler = machine.transitionPublisher().connect(
        [](const LockTransitionResult& result) { benchmark::DoNotOptimize(&result); });
    Subscription mirror =
        machine.subscribeToState([](const LockState& state) { benchmark::DoNotOptimize(&state); });

    // Bundle ids and names longer than the small-string buffer, like real ones.
    Fixture() {
        for (int i = 0; i < appCount; ++i) {
            LockedTarget target{"com.example.protected.application" + std::to_string(i), 1000 + i,
                                "Protected Application " + std::to_string(i)};
            checker->bundleIds.insert(target.bundleId);
            frontmostEvents.push_back(LockEvent::frontmostAppChanged(target));
            machine.process(frontmostEvents.back());
            machine.process(LockEvent::unlockSucceeded());
            clock->advance(Seconds{1});
        }
    }
};

// Switching between unlocked applications: every event is counted, purges and restores an
// unlock, and changes the state.
void BM_FrontmostWith100RememberedUnlocks(benchmark::State& state) {
    Fixture fixture;
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.machine.process(fixture.frontmostEvents[next]));
        next = (next + 1) % fixture.frontmostEvents.size();
    }
    if (fixture.machine.unlockedApps().size() != Fixture::appCount) {
        state.SkipWithError("an unlock was lost");
    }
}
BENCHMARK(BM_FrontmostWith100RememberedUnlocks);

// A burst of frontmost events of the application just counted.
void BM_DebouncedFrontmost(benchmark::State& state) {
    Fixture fixture;
    const LockEvent& event = fixture.frontmostEvents.front();
    fixture.machine.process(event);
    for (auto _ : state) {
        benchmark::DoNotOptimize(fixture.machine.process(event));
    }
    if (fixture.machine.process(event).reason != TransitionReason::debounced) {
        state.SkipWithError("not debounced");
    }
}
BENCHMARK(BM_DebouncedFrontmost);

} // namespace
} // namespace velmora
