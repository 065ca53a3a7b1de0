#include "ScenarioParser.hpp"

#include <gtest/gtest.h>

namespace velmora::scenario {
namespace {

ScenarioParser::LineResult command(ScenarioCommand c) {
    return c;
}

TEST(ScenarioParser, WellFormedLines) {
    const std::vector<std::pair<std::string, ScenarioParser::LineResult>> cases{
        {"screen \"Built-in Display\" 0 0 1512 982 main",
         command(ScreenCommand{"Built-in Display", {0, 0, 1512, 982}, true})},
        {"protect com.example.notes \"My Notes\" autolock=off timeout=15 # idle lock",
         command(ProtectCommand{"com.example.notes", "My Notes", 15, false})},
        {"app - 77 \"Helper Tool\" policy=accessory",
         command(AppCommand{std::nullopt, 77, "Helper Tool", ActivationPolicy::accessory})},
        {"auth error \"Keychain \\\"login\\\" locked \\\\ try later\"",
         command(AuthCommand{AuthOutcome::error, "Keychain \"login\" locked \\ try later"})},
        {"\twait 2.3\t", command(WaitCommand{2.3})},
        {"expect overlay com.example.notes visible frame 100 257 800 600",
         command(ExpectOverlayCommand{"com.example.notes", true, Rect{100, 257, 800, 600}, {}})},
        {"expect window covered 502 10 20.5 300 200 no",
         command(ExpectWindowCoveredCommand{502, {10, 20.5, 300, 200}, Coverage::none})},
    };
    for (const auto& [line, expected] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ScenarioParser::parseLine(line), expected);
    }
}

TEST(ScenarioParser, MalformedLinesSayWhatIsWrong) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"frobnicate 3", "unknown command \"frobnicate\""},
        {"screen \"Main\" 0 0 abc 900", "expected a number for <w>, got \"abc\""},
        {"screen \"Main\" 0 0 1512",
         "missing <h> (usage: screen \"<name>\" <x> <y> <w> <h> [main])"},
        {"screen \"Main 0 0 1512 982", "unterminated quote"},
        {"screen \"Main\"x 0 0 1 1", "expected a blank after the closing quote"},
        {"screen Ma\"in\" 0 0 1 1", "unexpected quote after \"Ma\""},
        {"expect log \"a \\n b\"", "unknown escape \"\\n\" in quotes"},
        {"permissions accessibility=granted accessibility=denied input=denied",
         "option \"accessibility\" given twice"},
        {"lock-all now", "unexpected \"now\" (usage: lock-all)"},
        {"expect weather sunny", "unknown expectation \"weather\""},
        {"expect hidden com.example.notes maybe", "expected yes or no, got \"maybe\""},
    };
    for (const auto& [line, message] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(ScenarioParser::parseLine(line), ScenarioParser::LineResult(message));
    }
}

TEST(ScenarioParser, AFileGivesNumberedStepsAndErrorsWithoutStoppingAtTheFirst) {
    const Scenario scenario = ScenarioParser::parse("# Quit needs the owner\r\n"
                                                    "launch\r\n"
                                                    "\n"
                                                    "quit-velmora please\n"
                                                    "auth cancel   # the owner says no\n"
                                                    "frobnicate\n"
                                                    "expect velmora running");
    EXPECT_EQ(scenario.steps, (std::vector<ScenarioStep>{
                                  {2, LaunchCommand{}, "launch"},
                                  {5, AuthCommand{AuthOutcome::cancel, ""}, "auth cancel"},
                                  {7, ExpectVelmoraCommand{true}, "expect velmora running"},
                              }));
    EXPECT_EQ(scenario.comments, (std::vector<ScenarioComment>{{1, "# Quit needs the owner"}}));
    EXPECT_EQ(scenario.errors, (std::vector<ScenarioError>{
                                   {4, "unexpected \"please\" (usage: quit-velmora)"},
                                   {6, "unknown command \"frobnicate\""},
                               }));
    EXPECT_TRUE(ScenarioParser::parse("").steps.empty());
}

} // namespace
} // namespace velmora::scenario
