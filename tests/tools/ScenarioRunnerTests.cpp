#include "ScenarioRunner.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace velmora::scenario {
namespace {

namespace fs = std::filesystem;

/// Notes is protected, running with a window, and in front once Velmora has launched.
constexpr std::string_view kSetup = R"(protect com.example.notes "Notes"
app com.example.notes 502 "Notes"
window 502 200 100 800 600
launch
activate 502
)";

class ScenarioRunnerTest : public ::testing::Test {
protected:
    ScenarioTally run(std::string_view expectations) {
        ScenarioRunner runner({.logDirectory = logDirectory}, out);
        return runner.run("scratch.scenario", std::string(kSetup) + std::string(expectations));
    }

    std::vector<std::string> reportLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    testing::TemporaryDirectory logs;
    const fs::path logDirectory = logs.path();
    std::ostringstream out;
};

TEST_F(ScenarioRunnerTest, AWrongExpectationAMalformedLineAndAFailedActionEachCountAsFailures) {
    const ScenarioTally tally = run("expect state locked com.example.notes\n"
                                    "expect frontmost com.example.editor   # wrong on purpose\n"
                                    "frobnicate 3\n"
                                    "press minimize com.example.mail\n"
                                    "expect overlay com.example.notes visible\n");
    EXPECT_EQ(reportLines(),
              (std::vector<std::string>{
                  "ok scratch.scenario:6",
                  "not ok scratch.scenario:7: expected frontmost com.example.editor, got "
                  "com.example.notes",
                  "not ok scratch.scenario:8: unknown command \"frobnicate\"",
                  "not ok scratch.scenario:9: expected a visible overlay for com.example.mail, "
                  "got none",
                  "ok scratch.scenario:10",
              }));
    EXPECT_EQ(tally.passed, 2u);
    EXPECT_EQ(tally.failed, 3u);
}

TEST_F(ScenarioRunnerTest, EveryKindOfExpectationAndWindowCommandCanFail) {
    run("expect state unlocked com.example.notes\n"
        "expect overlay com.example.notes hidden\n"
        "expect overlay com.example.notes visible frame 200 201 800 600\n"
        "expect hidden com.example.notes yes\n"
        "expect hidden com.example.mail no\n"
        "expect unlocked com.example.notes yes\n"
        "expect prompts 1\n"
        "expect prompt \"Unlock Notes\"\n"
        "expect log \"never logged\"\n"
        "expect stdout \"[Brevane] Target screen: Elsewhere\"\n"
        "expect velmora terminated\n"
        "move-window 502 0 0 10 10 to 5 5 10 10\n"
        "close-window 502 0 0 10 10\n"
        "expect covers 502 2\n"
        "expect window covered 502 200 100 800 600 no\n"
        "expect window covered 502 0 0 10 10 yes\n");
    const std::vector<std::string> lines = reportLines();
    EXPECT_EQ(lines.size(), 16u);
    for (const std::string& line : lines) {
        EXPECT_TRUE(line.starts_with("not ok scratch.scenario:")) << line;
    }
    EXPECT_EQ(lines[0], "not ok scratch.scenario:6: expected state unlocked com.example.notes, "
                        "got locked com.example.notes");
}

} // namespace
} // namespace velmora::scenario
