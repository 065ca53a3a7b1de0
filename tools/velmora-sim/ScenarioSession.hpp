#pragma once

#include "ScenarioCommand.hpp"
#include "ScenarioRunner.hpp"
#include "SimulatedVelmora.hpp"
#include "StandardOutputCapture.hpp"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::scenario {

/// One scenario file on a simulated desktop of its own.
///
///     std::ostream report(std::cout.rdbuf());   // taken before the session takes over std::cout
///     ScenarioSession session("lock.scenario", trace, logDirectory, report);
///     ScenarioTally tally = session.run(ScenarioParser::parse(text));
///
/// Setup commands and actions give an error message when they cannot be carried out;
/// expectations give "expected ..., got ..." when they do not hold.
class ScenarioSession {
public:
    ScenarioSession(std::string name, bool trace, const std::filesystem::path& logDirectory,
                    std::ostream& report);
    ScenarioTally run(const Scenario& scenario);

private:
    using Failure = std::optional<std::string>;

    /// What the timeline compares before and after a command.
    struct Snapshot {
        std::vector<std::string> overlays;
        /// Hidden applications, by bundle identifier or "pid <n>".
        std::vector<std::string> hidden;
        std::size_t prompts = 0;
        std::optional<std::string> front;
        bool terminated = false;
    };

    template <class Command> void runStep(const ScenarioStep& step, const Command& command);
    void fail(std::size_t line, const std::string& message);
    SimDesktop& desktop() { return velmora_.desktop(); }

    // Setting up.
    Failure perform(const ScreenCommand& c);
    Failure perform(const PermissionsCommand& c);
    Failure perform(const ProtectCommand& c);
    Failure perform(const AppCommand& c);
    Failure perform(const WindowCommand& c);
    Failure perform(const MoveWindowCommand& c);
    Failure perform(const CloseWindowCommand& c);
    Failure perform(const RaiseWindowCommand& c);
    Failure perform(const HidingCommand& c);
    Failure perform(const WindowServerCommand& c);
    Failure perform(const LaunchCommand&);

    // Acting.
    Failure perform(const ActivateCommand& c);
    Failure perform(const QuitCommand& c);
    Failure perform(const InputCommand& c);
    Failure perform(const PressCommand& c);
    Failure perform(const AuthCommand& c);
    Failure perform(const LockAllCommand&);
    Failure perform(const LockCommand& c);
    Failure perform(const SystemEventCommand& c);
    Failure perform(const WaitCommand& c);
    Failure perform(const QuitVelmoraCommand&);

    // Checking.
    Failure check(const ExpectStateCommand& c);
    Failure check(const ExpectOverlayCommand& c);
    Failure check(const ExpectCoversCommand& c);
    Failure check(const ExpectWindowCoveredCommand& c);
    Failure check(const ExpectFrontmostCommand& c);
    Failure check(const ExpectHiddenCommand& c);
    Failure checkCovered(const std::string& bundleId, ProcessId pid);
    Failure check(const ExpectUnlockedCommand& c);
    Failure check(const ExpectPromptsCommand& c);
    Failure check(const ExpectPromptCommand& c);
    Failure check(const ExpectOutputCommand& c);
    Failure check(const ExpectVelmoraCommand& c);
    static Failure mismatch(const std::string& expectation, const std::string& expected,
                            const std::string& got);

    // Reading the desktop.
    Failure requireRunning(ProcessId pid);
    std::optional<ProcessId> firstRunning(const std::string& bundleId);
    SimOverlayWindow* overlayWindow(const std::string& bundleId);
    SimOverlayWindow* visibleOverlay(const std::string& bundleId);
    /// The process's on-screen windows, front to back.
    std::vector<WindowListEntry> windowsOf(ProcessId pid);
    /// "card" when the lock card lies exactly over the window, else "cover" when a plain
    /// cover of its frame lies directly above it, else "no".
    std::string coverageOf(const WindowListEntry& window);
    /// As scenarios name it: "idle", "locked com.example.notes", "no lock engine", ...
    std::string stateText();
    std::vector<std::string> hiddenApplications();
    static std::string applicationText(const RunningApplication& app);
    std::optional<std::string> frontmostText();
    std::string velmoraText();

    // The timeline.
    Snapshot snapshot();
    void printTimelineLine(const std::string& command, const Snapshot& before);
    /// What is in `these` and not in `those`, both sorted.
    void printDifference(const char* label, const std::vector<std::string>& these,
                         const std::vector<std::string>& those);
    /// The engine's state in full, for the timeline.
    std::string engineStateText();

    std::string name_;
    bool trace_;
    std::ostream& report_;

    // Made before the components, which print from their first moment, and gone after them.
    StandardOutputCapture capture_;
    SimulatedVelmora velmora_;
    TimePoint start_;
    std::vector<Screen> screens_;
    std::optional<std::size_t> mainScreen_;
    ScenarioTally tally_;
};

} // namespace velmora::scenario
