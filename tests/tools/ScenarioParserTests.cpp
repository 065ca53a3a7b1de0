#include "ScenarioParser.hpp"

#include <gtest/gtest.h>

namespace velmora::scenario {
namespace {

ScenarioParser::LineResult command(ScenarioCommand c) {
    return c;
}

TEST(ScenarioParser, WellFormedLines) {
    const std::vector<std::pair<std::string, ScenarioParser::LineResult>> cases{
        {"", std::monostate{}},
        {"   # only a comment", std::monostate{}},
        {"screen \"Built-in Display\" 0 0 1512 982 main",
         command(ScreenCommand{"Built-in Display", {0, 0, 1512, 982}, true})},
        {"permissions input=denied accessibility=granted",
         command(PermissionsCommand{true, false})},
        {"protect com.example.notes \"My Notes\" autolock=off timeout=15 # idle lock",
         command(ProtectCommand{"com.example.notes", "My Notes", 15, false})},
        {"app - 77 \"Helper Tool\" policy=accessory",
         command(AppCommand{std::nullopt, 77, "Helper Tool", ActivationPolicy::accessory})},
        {"window 501 0 25 1512 957 layer=-3", command(WindowCommand{501, {0, 25, 1512, 957}, -3})},
        {"move-window 501 0 25 800 600 to 40 60 700 500",
         command(MoveWindowCommand{501, {0, 25, 800, 600}, {40, 60, 700, 500}})},
        {"close-window 501 0 25 800 600", command(CloseWindowCommand{501, {0, 25, 800, 600}})},
        {"raise-window 501 0 25 800 600", command(RaiseWindowCommand{501, {0, 25, 800, 600}})},
        {"hiding refused", command(HidingCommand{true})},
        {"window-server announces", command(WindowServerCommand{true})},
        {"launch", command(LaunchCommand{})},
        {"activate 501", command(ActivateCommand{501})},
        {"quit 501", command(QuitCommand{501})},
        {"key 501", command(InputCommand{InputKind::key, 501})},
        {"press unlock com.example.notes",
         command(PressCommand{LockCardButton::unlock, "com.example.notes"})},
        {"auth system-cancel", command(AuthCommand{AuthOutcome::systemCancel, ""})},
        {"auth error \"Keychain \\\"login\\\" locked \\\\ try later\"",
         command(AuthCommand{AuthOutcome::error, "Keychain \"login\" locked \\ try later"})},
        {"lock-all", command(LockAllCommand{})},
        {"lock com.example.notes", command(LockCommand{"com.example.notes"})},
        {"screens-sleep", command(SystemEventCommand{SystemEvent::screensSleep})},
        {"\twait 2.3\t", command(WaitCommand{2.3})},
        {"quit-velmora", command(QuitVelmoraCommand{})},
        {"expect state locked com.example.notes",
         command(ExpectStateCommand{ExpectedState::locked, "com.example.notes"})},
        {"expect overlay com.example.notes visible frame 100 257 800 600",
         command(ExpectOverlayCommand{"com.example.notes", true, Rect{100, 257, 800, 600}, {}})},
        {"expect overlay com.example.notes covers 502",
         command(ExpectOverlayCommand{"com.example.notes", true, std::nullopt, 502})},
        {"expect covers 502 2", command(ExpectCoversCommand{502, 2})},
        {"expect window covered 502 10 20.5 300 200 no",
         command(ExpectWindowCoveredCommand{502, {10, 20.5, 300, 200}, Coverage::none})},
        {"expect window covered 502 10 20 300 200 card",
         command(ExpectWindowCoveredCommand{502, {10, 20, 300, 200}, Coverage::card})},
        {"expect frontmost com.example.notes",
         command(ExpectFrontmostCommand{"com.example.notes"})},
        {"expect hidden com.example.notes yes",
         command(ExpectHiddenCommand{"com.example.notes", true, {}})},
        {"expect hidden 502 no", command(ExpectHiddenCommand{"", false, 502})},
        {"expect unlocked com.example.notes no",
         command(ExpectUnlockedCommand{"com.example.notes", false})},
        {"expect prompts 0", command(ExpectPromptsCommand{0})},
        {"expect prompt \"Unlock Notes\"", command(ExpectPromptCommand{"Unlock Notes"})},
        {"expect log \"Quit authentication failed: userCancelled\"",
         command(
             ExpectOutputCommand{OutputChannel::log, "Quit authentication failed: userCancelled"})},
        {"expect stdout \"\"", command(ExpectOutputCommand{OutputChannel::standardOutput, ""})},
        {"expect velmora terminated", command(ExpectVelmoraCommand{false})},
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
        {"permissions accessibility=granted",
         "missing input=granted|denied (usage: permissions accessibility=granted|denied "
         "input=granted|denied)"},
        {"permissions accessibility=granted accessibility=denied input=denied",
         "option \"accessibility\" given twice"},
        {"protect com.example.notes \"Notes\" timeout=ten",
         "expected a whole number for timeout, got \"ten\""},
        {"protect com.example.notes \"Notes\" colour=red",
         "unexpected \"colour=red\" (usage: protect <bundleId> \"<displayName>\" "
         "[timeout=<minutes>] [autolock=on|off])"},
        {"app com.example.notes 0 \"Notes\"", "expected a process id for <pid>, got \"0\""},
        {"app com.example.notes 5 \"Notes\" policy=prohibited",
         "expected regular or accessory for policy, got \"prohibited\""},
        {"key -1", "expected a process id or 0 for <pid>, got \"-1\""},
        {"press open com.example.notes", "expected unlock or minimize, got \"open\""},
        {"auth maybe",
         "expected success, cancel, fail, system-cancel, unavailable, lockout or error, got "
         "\"maybe\""},
        {"move-window 501 0 25 800 600 40 60 700 500",
         "missing \"to\" (usage: move-window <pid> <x> <y> <w> <h> to <x> <y> <w> <h>)"},
        {"close-window 501 0 25 800 -600", "expected a non-negative number for <h>, got \"-600\""},
        {"lock-all now", "unexpected \"now\" (usage: lock-all)"},
        {"expect", "missing what to expect after \"expect\""},
        {"expect weather sunny", "unknown expectation \"weather\""},
        {"expect hidden com.example.notes maybe", "expected yes or no, got \"maybe\""},
        {"expect velmora asleep", "expected running or terminated, got \"asleep\""},
        {"expect covers 502", "missing <n> (usage: expect covers <pid> <n>)"},
        {"expect window 502 0 0 10 10 yes", "missing \"covered\" (usage: expect window covered "
                                            "<pid> <x> <y> <w> <h> yes|no|card|cover)"},
        {"expect window covered 502 0 0 10 10 maybe",
         "expected yes, no, card or cover, got \"maybe\""},
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
