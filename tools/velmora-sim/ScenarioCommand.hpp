#pragma once

#include "Platform/WorkspaceProviding.hpp"
#include "Support/ProcessId.hpp"
#include "Support/Rect.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace velmora::scenario {

// Setting up the desktop.

struct ScreenCommand {
    std::string name;
    Rect frame;
    bool isMain = false;
    friend bool operator==(const ScreenCommand&, const ScreenCommand&) = default;
};

struct PermissionsCommand {
    bool accessibilityGranted = false;
    bool inputMonitoringGranted = false;
    friend bool operator==(const PermissionsCommand&, const PermissionsCommand&) = default;
};

struct ProtectCommand {
    std::string bundleId;
    std::string displayName;
    std::optional<std::int64_t> timeoutMinutes;
    std::optional<bool> autoLock;
    friend bool operator==(const ProtectCommand&, const ProtectCommand&) = default;
};

struct AppCommand {
    /// Absent for an application without one (written `-`).
    std::optional<std::string> bundleId;
    ProcessId pid = 0;
    std::string name;
    ActivationPolicy policy = ActivationPolicy::regular;
    friend bool operator==(const AppCommand&, const AppCommand&) = default;
};

struct WindowCommand {
    ProcessId pid = 0;
    Rect frame;
    int layer = 0;
    friend bool operator==(const WindowCommand&, const WindowCommand&) = default;
};

/// Window-server coordinates, as in `WindowCommand`.
struct MoveWindowCommand {
    ProcessId pid = 0;
    Rect from;
    Rect to;
    friend bool operator==(const MoveWindowCommand&, const MoveWindowCommand&) = default;
};

/// The window leaves the screen: closed, or moved to another desktop.
struct CloseWindowCommand {
    ProcessId pid = 0;
    Rect frame;
    friend bool operator==(const CloseWindowCommand&, const CloseWindowCommand&) = default;
};

/// Brings the window in front of every other without activating anything, as a window
/// manager may.
struct RaiseWindowCommand {
    ProcessId pid = 0;
    Rect frame;
    friend bool operator==(const RaiseWindowCommand&, const RaiseWindowCommand&) = default;
};

/// Whether the window manager hides what it is asked to hide; a tiling one refuses.
struct HidingCommand {
    bool refused = false;
    friend bool operator==(const HidingCommand&, const HidingCommand&) = default;
};

/// Whether the window server announces its changes, as X11 and the Wayland compositors do,
/// or has to be asked again from time to time, as on macOS (the default).
struct WindowServerCommand {
    bool announces = false;
    friend bool operator==(const WindowServerCommand&, const WindowServerCommand&) = default;
};

struct LaunchCommand {
    friend bool operator==(const LaunchCommand&, const LaunchCommand&) = default;
};

// Acting on it.

struct ActivateCommand {
    /// Absent for Velmora itself.
    std::optional<ProcessId> pid;
    friend bool operator==(const ActivateCommand&, const ActivateCommand&) = default;
};

struct QuitCommand {
    ProcessId pid = 0;
    friend bool operator==(const QuitCommand&, const QuitCommand&) = default;
};

enum class InputKind { key, click };

struct InputCommand {
    InputKind kind = InputKind::key;
    /// 0 when the event names no process.
    ProcessId pid = 0;
    friend bool operator==(const InputCommand&, const InputCommand&) = default;
};

enum class LockCardButton { unlock, minimize };

struct PressCommand {
    LockCardButton button = LockCardButton::unlock;
    std::string bundleId;
    friend bool operator==(const PressCommand&, const PressCommand&) = default;
};

enum class AuthOutcome { success, cancel, fail, systemCancel, unavailable, lockout, error };

/// How the owner answers the next authentication prompt.
struct AuthCommand {
    AuthOutcome outcome = AuthOutcome::success;
    /// The system's message of `error`; empty otherwise.
    std::string message;
    friend bool operator==(const AuthCommand&, const AuthCommand&) = default;
};

struct LockAllCommand {
    friend bool operator==(const LockAllCommand&, const LockAllCommand&) = default;
};

struct LockCommand {
    std::string bundleId;
    friend bool operator==(const LockCommand&, const LockCommand&) = default;
};

enum class SystemEvent { sleep, screensSleep, screensWake, screenLock };

struct SystemEventCommand {
    SystemEvent event = SystemEvent::sleep;
    friend bool operator==(const SystemEventCommand&, const SystemEventCommand&) = default;
};

struct WaitCommand {
    double seconds = 0;
    friend bool operator==(const WaitCommand&, const WaitCommand&) = default;
};

struct QuitVelmoraCommand {
    friend bool operator==(const QuitVelmoraCommand&, const QuitVelmoraCommand&) = default;
};

// Checking the outcome.

enum class ExpectedState { idle, locked, unlocked };

struct ExpectStateCommand {
    ExpectedState state = ExpectedState::idle;
    /// Empty for `idle`.
    std::string bundleId;
    friend bool operator==(const ExpectStateCommand&, const ExpectStateCommand&) = default;
};

struct ExpectOverlayCommand {
    std::string bundleId;
    bool visible = false;
    std::optional<Rect> frame;
    /// The process the visible overlay was shown for.
    std::optional<ProcessId> covers;
    friend bool operator==(const ExpectOverlayCommand&, const ExpectOverlayCommand&) = default;
};

/// How many of the process's on-screen windows lie under an overlay of exactly their frame.
struct ExpectCoversCommand {
    ProcessId pid = 0;
    std::int64_t count = 0;
    friend bool operator==(const ExpectCoversCommand&, const ExpectCoversCommand&) = default;
};

/// `card`: the lock card lies over the window; `cover`: a plain cover lies directly above it
/// and no card; `any`: either.
enum class Coverage { none, any, card, cover };

struct ExpectWindowCoveredCommand {
    ProcessId pid = 0;
    /// Window-server coordinates, as in `WindowCommand`.
    Rect frame;
    Coverage coverage = Coverage::none;
    friend bool operator==(const ExpectWindowCoveredCommand&,
                           const ExpectWindowCoveredCommand&) = default;
};

struct ExpectFrontmostCommand {
    std::string bundleId;
    friend bool operator==(const ExpectFrontmostCommand&, const ExpectFrontmostCommand&) = default;
};

struct ExpectHiddenCommand {
    /// Empty when `pid` names the process.
    std::string bundleId;
    bool hidden = false;
    /// One process rather than the first running one of `bundleId`.
    std::optional<ProcessId> pid;
    friend bool operator==(const ExpectHiddenCommand&, const ExpectHiddenCommand&) = default;
};

struct ExpectUnlockedCommand {
    std::string bundleId;
    bool unlocked = false;
    friend bool operator==(const ExpectUnlockedCommand&, const ExpectUnlockedCommand&) = default;
};

/// How many authentication prompts were shown so far.
struct ExpectPromptsCommand {
    std::int64_t count = 0;
    friend bool operator==(const ExpectPromptsCommand&, const ExpectPromptsCommand&) = default;
};

/// The last prompt shown had this reason.
struct ExpectPromptCommand {
    std::string reason;
    friend bool operator==(const ExpectPromptCommand&, const ExpectPromptCommand&) = default;
};

enum class OutputChannel { log, standardOutput };

/// Some line written so far to the channel contains this text.
struct ExpectOutputCommand {
    OutputChannel channel = OutputChannel::log;
    std::string text;
    friend bool operator==(const ExpectOutputCommand&, const ExpectOutputCommand&) = default;
};

struct ExpectVelmoraCommand {
    bool running = true;
    friend bool operator==(const ExpectVelmoraCommand&, const ExpectVelmoraCommand&) = default;
};

using ScenarioCommand =
    std::variant<ScreenCommand, PermissionsCommand, ProtectCommand, AppCommand, WindowCommand,
                 MoveWindowCommand, CloseWindowCommand, RaiseWindowCommand, HidingCommand,
                 WindowServerCommand, LaunchCommand, ActivateCommand, QuitCommand, InputCommand,
                 PressCommand, AuthCommand, LockAllCommand, LockCommand, SystemEventCommand,
                 WaitCommand, QuitVelmoraCommand, ExpectStateCommand, ExpectOverlayCommand,
                 ExpectCoversCommand, ExpectWindowCoveredCommand, ExpectFrontmostCommand,
                 ExpectHiddenCommand, ExpectUnlockedCommand, ExpectPromptsCommand,
                 ExpectPromptCommand, ExpectOutputCommand, ExpectVelmoraCommand>;

/// A command, the line of the file it came from (counted from 1), and the command as written
/// there, without its comment and surrounding blanks.
struct ScenarioStep {
    std::size_t line = 0;
    ScenarioCommand command;
    std::string text;
    friend bool operator==(const ScenarioStep&, const ScenarioStep&) = default;
};

/// A line holding nothing but a comment, from its `#` on: such lines head the parts of a
/// scenario.
struct ScenarioComment {
    std::size_t line = 0;
    std::string text;
    friend bool operator==(const ScenarioComment&, const ScenarioComment&) = default;
};

struct ScenarioError {
    std::size_t line = 0;
    std::string message;
    friend bool operator==(const ScenarioError&, const ScenarioError&) = default;
};

/// The commands of the well-formed lines, an error for each malformed one and the comment
/// lines, each in file order.
struct Scenario {
    std::vector<ScenarioStep> steps;
    std::vector<ScenarioError> errors;
    std::vector<ScenarioComment> comments;
};

} // namespace velmora::scenario
