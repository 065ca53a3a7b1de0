#pragma once

#include <cstddef>
#include <filesystem>
#include <iosfwd>
#include <set>
#include <string>
#include <string_view>

namespace velmora::scenario {

struct ScenarioTally {
    std::size_t passed = 0;
    std::size_t failed = 0;

    ScenarioTally& operator+=(const ScenarioTally& other) {
        passed += other.passed;
        failed += other.failed;
        return *this;
    }
};

/// Runs scenario files against Velmora's real components, each file on a fresh simulated
/// desktop, and reports one line per expectation to `out`:
///
///     ScenarioRunner runner({.trace = true, .logDirectory = "/tmp/run"}, std::cout);
///     ScenarioTally tally = runner.run("lock.scenario", text);
///     // [  0.000s] activate 502  -> locked(com.example.notes pid=502 "Notes")  ...
///     // ok lock.scenario:12
///     // not ok lock.scenario:14: expected frontmost com.example.notes, got none
///     printSummary(std::cout, tally);   // "1 passed, 1 failed"
///
/// A malformed line, and an action that cannot be carried out, is reported as `not ok` with
/// its message and counts as a failure; the other lines still run. While a file runs,
/// `std::cout` is taken over to record what the components print, so `out` may be
/// `std::cout` itself. Each file's log goes to a directory of its own under `logDirectory`.
class ScenarioRunner {
public:
    struct Options {
        /// Adds the timeline: one line per command with the virtual time, the resulting
        /// state and the overlays shown or hidden.
        bool trace = false;
        std::filesystem::path logDirectory;
    };

    ScenarioRunner(Options options, std::ostream& out);

    /// `name` stands for the file in the report lines and names its log directory.
    ScenarioTally run(const std::string& name, std::string_view text);

private:
    std::filesystem::path logDirectoryFor(const std::string& name);

    Options options_;
    std::ostream& out_;
    std::set<std::string> logDirectoriesUsed_;
};

/// The closing line: "<passed> passed, <failed> failed".
void printSummary(std::ostream& out, const ScenarioTally& tally);

} // namespace velmora::scenario
