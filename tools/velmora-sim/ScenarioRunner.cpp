#include "ScenarioRunner.hpp"

#include "ScenarioParser.hpp"
#include "ScenarioSession.hpp"

#include <ostream>

namespace velmora::scenario {

ScenarioRunner::ScenarioRunner(Options options, std::ostream& out)
    : options_(std::move(options)), out_(out) {}

ScenarioTally ScenarioRunner::run(const std::string& name, std::string_view text) {
    const Scenario scenario = ScenarioParser::parse(text);
    // Taken before the session takes over std::cout, which `out_` may be.
    std::ostream report(out_.rdbuf());
    ScenarioSession session(name, options_.trace, logDirectoryFor(name), report);
    return session.run(scenario);
}

std::filesystem::path ScenarioRunner::logDirectoryFor(const std::string& name) {
    std::string stem = std::filesystem::path(name).stem().string();
    if (stem.empty()) {
        stem = "scenario";
    }
    std::string chosen = stem;
    for (int n = 2; logDirectoriesUsed_.contains(chosen); ++n) {
        chosen = stem + "-" + std::to_string(n);
    }
    logDirectoriesUsed_.insert(chosen);
    return options_.logDirectory / chosen;
}

void printSummary(std::ostream& out, const ScenarioTally& tally) {
    out << tally.passed << " passed, " << tally.failed << " failed\n";
}

} // namespace velmora::scenario
