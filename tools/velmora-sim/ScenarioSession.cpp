#include "ScenarioSession.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <type_traits>

namespace velmora::scenario {

namespace {

template <class T, class... Types> constexpr bool kIsOneOf = (std::is_same_v<T, Types> || ...);

template <class T>
constexpr bool kIsExpectation =
    kIsOneOf<T, ExpectStateCommand, ExpectOverlayCommand, ExpectCoversCommand,
             ExpectWindowCoveredCommand, ExpectFrontmostCommand, ExpectHiddenCommand,
             ExpectUnlockedCommand, ExpectPromptsCommand, ExpectPromptCommand, ExpectOutputCommand,
             ExpectVelmoraCommand>;

/// The domain of the errors that `auth error` makes: any domain but the system's own.
constexpr const char* kOtherErrorDomain = "com.tovren.velmora.sim";

/// As a scenario writes it: 800, 12.5.
std::string number(double value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return std::string(text, end);
}

/// Scenario windows always have complete bounds.
Rect entryFrame(const WindowListEntry& entry) {
    return {entry.x.value_or(0), entry.y.value_or(0), entry.width.value_or(0),
            entry.height.value_or(0)};
}

std::string rectText(const Rect& rect) {
    return number(rect.x) + " " + number(rect.y) + " " + number(rect.width) + " " +
           number(rect.height);
}

std::string inQuotes(std::string_view text) {
    std::string out = "\"";
    out.append(text).append("\"");
    return out;
}

std::string yesOrNo(bool value) {
    return value ? "yes" : "no";
}

bool anyLineContains(const std::vector<std::string>& lines, std::string_view text) {
    return std::any_of(lines.begin(), lines.end(),
                       [text](const std::string& line) { return line.find(text) != line.npos; });
}

SimAuthenticator::Outcome outcomeOf(const AuthCommand& c) {
    using Outcome = SimAuthenticator::Outcome;
    switch (c.outcome) {
    case AuthOutcome::success:
        return Outcome::succeed();
    case AuthOutcome::cancel:
        return Outcome::fail(LAErrorCode::userCancel);
    case AuthOutcome::fail:
        return Outcome::fail(LAErrorCode::authenticationFailed);
    case AuthOutcome::systemCancel:
        return Outcome::fail(LAErrorCode::systemCancel);
    case AuthOutcome::unavailable:
        return Outcome::fail(LAErrorCode::biometryNotAvailable);
    case AuthOutcome::lockout:
        return Outcome::fail(LAErrorCode::biometryLockout);
    case AuthOutcome::error:
        break;
    }
    return Outcome::fail(OwnerAuthenticationError{kOtherErrorDomain, 1, c.message});
}

} // namespace

ScenarioSession::ScenarioSession(std::string name, bool trace,
                                 const std::filesystem::path& logDirectory, std::ostream& report)
    : name_(std::move(name)), trace_(trace), report_(report), velmora_(logDirectory),
      start_(velmora_.desktop().loop->now()) {}

template <class Command>
void ScenarioSession::runStep(const ScenarioStep& step, const Command& command) {
    const std::size_t line = step.line;
    if constexpr (kIsExpectation<Command>) {
        if (const Failure failure = check(command)) {
            fail(line, *failure);
        } else {
            ++tally_.passed;
            report_ << "ok " << name_ << ":" << line << "\n";
        }
    } else {
        const Snapshot before = snapshot();
        const Failure error = perform(command);
        desktop().loop->runUntilIdle();
        if (trace_) {
            printTimelineLine(step.text, before);
        }
        if (error) {
            fail(line, *error);
        }
    }
}

ScenarioTally ScenarioSession::run(const Scenario& scenario) {
    auto error = scenario.errors.begin();
    auto comment = scenario.comments.begin();
    for (const ScenarioStep& step : scenario.steps) {
        for (; error != scenario.errors.end() && error->line < step.line; ++error) {
            fail(error->line, error->message);
        }
        for (; comment != scenario.comments.end() && comment->line < step.line; ++comment) {
            if (trace_) {
                report_ << comment->text << "\n";
            }
        }
        std::visit([&](const auto& command) { runStep(step, command); }, step.command);
    }
    for (; error != scenario.errors.end(); ++error) {
        fail(error->line, error->message);
    }
    return tally_;
}

void ScenarioSession::fail(std::size_t line, const std::string& message) {
    ++tally_.failed;
    report_ << "not ok " << name_ << ":" << line << ": " << message << "\n";
}

ScenarioSession::Failure ScenarioSession::perform(const ScreenCommand& c) {
    if (c.isMain) {
        if (mainScreen_) {
            return "expected one main screen, got a second";
        }
        mainScreen_ = screens_.size();
    }
    screens_.push_back({c.name, c.frame});
    desktop().screens->setScreens(screens_);
    desktop().screens->setMainScreenIndex(mainScreen_.value_or(0));
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const PermissionsCommand& c) {
    desktop().accessibility->setTrusted(c.accessibilityGranted);
    desktop().eventTaps->setCreationAllowed(c.inputMonitoringGranted);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const ProtectCommand& c) {
    AppState& state = velmora_.appState();
    state.addApp(ProtectedApp::make(c.bundleId, c.displayName, desktop().loop->now()));
    const auto app = state.protectedApp(c.bundleId);
    if (!app) {
        return "expected " + c.bundleId + " on the protected list, got nothing stored";
    }
    if (c.timeoutMinutes) {
        state.setIdleTimeoutMinutes(app->id, *c.timeoutMinutes);
    }
    if (c.autoLock) {
        state.setAutoLockEnabled(app->id, *c.autoLock);
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const AppCommand& c) {
    if (c.pid == desktop().hostPid()) {
        return "expected a free process id, got " + std::to_string(c.pid) + ", Velmora's own";
    }
    if (desktop().workspace->runningApplication(c.pid)) {
        return "expected a free process id, got " + std::to_string(c.pid) + ", running";
    }
    desktop().workspace->launch({
        .bundleIdentifier = c.bundleId,
        .processIdentifier = c.pid,
        .localizedName = c.name,
        .bundleLocation = "/Applications/" + c.name + ".app",
        .activationPolicy = c.policy,
    });
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const WindowCommand& c) {
    if (const Failure missing = requireRunning(c.pid)) {
        return missing;
    }
    desktop().windowServer->addWindow(c.pid, c.frame.x, c.frame.y, c.frame.width, c.frame.height,
                                      c.layer);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const MoveWindowCommand& c) {
    if (!desktop().windowServer->moveWindow(c.pid, c.from, c.to)) {
        return "expected a window of " + std::to_string(c.pid) + " at " + rectText(c.from) +
               ", got none";
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const CloseWindowCommand& c) {
    if (!desktop().windowServer->removeWindow(c.pid, c.frame)) {
        return "expected a window of " + std::to_string(c.pid) + " at " + rectText(c.frame) +
               ", got none";
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const RaiseWindowCommand& c) {
    if (!desktop().windowServer->raiseWindow(c.pid, c.frame)) {
        return "expected a window of " + std::to_string(c.pid) + " at " + rectText(c.frame) +
               ", got none";
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const HidingCommand& c) {
    desktop().workspace->setRefusesHiding(c.refused);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const WindowServerCommand& c) {
    desktop().windowServer->setAnnouncesChanges(c.announces);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const LaunchCommand&) {
    if (!velmora_.launch()) {
        return "expected Velmora not launched yet, got a second launch";
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const ActivateCommand& c) {
    const ProcessId pid = c.pid.value_or(desktop().hostPid());
    if (const Failure missing = requireRunning(pid)) {
        return missing;
    }
    desktop().workspace->activate(pid);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const QuitCommand& c) {
    if (c.pid == desktop().hostPid()) {
        return "expected another process than Velmora's own, got " + std::to_string(c.pid) +
               " (quit-velmora asks Velmora to quit)";
    }
    if (const Failure missing = requireRunning(c.pid)) {
        return missing;
    }
    desktop().windowServer->removeWindowsOf(c.pid);
    desktop().workspace->quit(c.pid);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const InputCommand& c) {
    const auto type =
        c.kind == InputKind::key ? InputEventType::keyDown : InputEventType::leftMouseDown;
    desktop().eventTaps->deliver({type, c.pid});
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const PressCommand& c) {
    SimOverlayWindow* window = visibleOverlay(c.bundleId);
    if (!window) {
        return "expected a visible overlay for " + c.bundleId + ", got none";
    }
    if (c.button == LockCardButton::unlock) {
        window->pressUnlock();
    } else if (!window->pressMinimize()) {
        return "expected a Minimize button on the overlay of " + c.bundleId + ", got none";
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const AuthCommand& c) {
    desktop().authenticator->queueOutcome(outcomeOf(c));
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const LockAllCommand&) {
    LockEngine* engine = velmora_.engine();
    if (!engine) {
        return "expected a lock engine, got none";
    }
    engine->lockAllNow();
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const LockCommand& c) {
    LockEngine* engine = velmora_.engine();
    if (!engine) {
        return "expected a lock engine, got none";
    }
    engine->lockApp(c.bundleId);
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const SystemEventCommand& c) {
    switch (c.event) {
    case SystemEvent::sleep:
        desktop().workspace->postWillSleep();
        break;
    case SystemEvent::screensSleep:
        desktop().workspace->postScreensDidSleep();
        break;
    case SystemEvent::screensWake:
        desktop().workspace->postScreensDidWake();
        break;
    case SystemEvent::screenLock:
        desktop().distributedNotifications->post(session_events::screenLocked);
        break;
    }
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const WaitCommand& c) {
    desktop().loop->advance(Seconds{c.seconds});
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::perform(const QuitVelmoraCommand&) {
    if (!velmora_.isLaunched()) {
        return "expected a launched Velmora, got none";
    }
    desktop().hostApplication->terminate();
    return std::nullopt;
}

ScenarioSession::Failure ScenarioSession::check(const ExpectStateCommand& c) {
    std::string expected = "idle";
    if (c.state != ExpectedState::idle) {
        expected = (c.state == ExpectedState::locked ? "locked " : "unlocked ") + c.bundleId;
    }
    const std::string got = stateText();
    return mismatch("state " + expected, expected, got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectOverlayCommand& c) {
    if (c.covers) {
        return checkCovered(c.bundleId, *c.covers);
    }
    std::string expected = c.visible ? "visible" : "hidden";
    std::string got = velmora_.overlays() && velmora_.overlays()->isOverlayVisible(c.bundleId)
                          ? "visible"
                          : "hidden";
    if (c.frame) {
        expected += " frame " + rectText(*c.frame);
        const SimOverlayWindow* window = overlayWindow(c.bundleId);
        got += window ? " frame " + rectText(window->frame()) : " without a window";
    }
    return mismatch("overlay " + c.bundleId + " " + expected, expected, got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectCoversCommand& c) {
    std::int64_t covered = 0;
    for (const WindowListEntry& entry : windowsOf(c.pid)) {
        if (entry.layer >= 0 && coverageOf(entry) != "no") {
            ++covered;
        }
    }
    const std::string expected = std::to_string(c.count);
    return mismatch("covers " + std::to_string(c.pid) + " " + expected, expected,
                    std::to_string(covered));
}

ScenarioSession::Failure ScenarioSession::check(const ExpectWindowCoveredCommand& c) {
    const auto windows = windowsOf(c.pid);
    const auto window = std::find_if(windows.begin(), windows.end(), [&](const auto& entry) {
        return entryFrame(entry) == c.frame;
    });
    std::string got = window != windows.end() ? coverageOf(*window) : "no such window";
    std::string expected;
    switch (c.coverage) {
    case Coverage::none:
        expected = "no";
        break;
    case Coverage::any:
        expected = "yes";
        got = got == "card" || got == "cover" ? "yes" : got;
        break;
    case Coverage::card:
        expected = "card";
        break;
    case Coverage::cover:
        expected = "cover";
        break;
    }
    return mismatch("window covered " + std::to_string(c.pid) + " " + rectText(c.frame) + " " +
                        expected,
                    expected, got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectFrontmostCommand& c) {
    return mismatch("frontmost " + c.bundleId, c.bundleId, frontmostText().value_or("none"));
}

ScenarioSession::Failure ScenarioSession::checkCovered(const std::string& bundleId, ProcessId pid) {
    const std::string expected = "covering " + std::to_string(pid);
    std::string got = "hidden";
    const LockEngine* engine = velmora_.engine();
    if (engine && velmora_.overlays() && velmora_.overlays()->isOverlayVisible(bundleId)) {
        const auto target = engine->coveredTargets().find(bundleId);
        got = target == engine->coveredTargets().end()
                  ? "visible over no known process"
                  : "covering " + std::to_string(target->second.pid);
    }
    return mismatch("overlay " + bundleId + " covers " + std::to_string(pid), expected, got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectHiddenCommand& c) {
    const auto app = c.pid ? c.pid : firstRunning(c.bundleId);
    const std::string subject = c.pid ? std::to_string(*c.pid) : c.bundleId;
    const bool running = app && desktop().workspace->runningApplication(*app);
    const std::string got = running ? yesOrNo(desktop().workspace->isHidden(*app)) : "not running";
    const std::string expected = yesOrNo(c.hidden);
    return mismatch("hidden " + subject + " " + expected, expected, got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectUnlockedCommand& c) {
    const LockEngine* engine = velmora_.engine();
    const std::string got = engine ? yesOrNo(engine->isAppUnlocked(c.bundleId)) : "no lock engine";
    const std::string expected = yesOrNo(c.unlocked);
    return mismatch("unlocked " + c.bundleId + " " + expected, expected, got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectPromptsCommand& c) {
    const std::string expected = std::to_string(c.count);
    return mismatch("prompts " + expected, expected,
                    std::to_string(desktop().authenticator->promptCount()));
}

ScenarioSession::Failure ScenarioSession::check(const ExpectPromptCommand& c) {
    const auto& prompts = desktop().authenticator->prompts();
    const std::string got = prompts.empty() ? "no prompt" : inQuotes(prompts.back().reason);
    return mismatch("prompt " + inQuotes(c.reason), inQuotes(c.reason), got);
}

ScenarioSession::Failure ScenarioSession::check(const ExpectOutputCommand& c) {
    const bool log = c.channel == OutputChannel::log;
    const bool found = log ? anyLineContains(velmora_.log().lines(), c.text)
                           : anyLineContains(capture_.lines(), c.text);
    if (found) {
        return std::nullopt;
    }
    return "expected " + std::string(log ? "log " : "stdout ") + inQuotes(c.text) +
           ", got no line containing it";
}

ScenarioSession::Failure ScenarioSession::check(const ExpectVelmoraCommand& c) {
    return mismatch(std::string("velmora ") + (c.running ? "running" : "terminated"),
                    c.running ? "running" : "terminated", velmoraText());
}

ScenarioSession::Failure ScenarioSession::mismatch(const std::string& expectation,
                                                   const std::string& expected,
                                                   const std::string& got) {
    if (expected == got) {
        return std::nullopt;
    }
    return "expected " + expectation + ", got " + got;
}

ScenarioSession::Failure ScenarioSession::requireRunning(ProcessId pid) {
    if (desktop().workspace->runningApplication(pid)) {
        return std::nullopt;
    }
    return "expected a running process " + std::to_string(pid) + ", got none";
}

std::optional<ProcessId> ScenarioSession::firstRunning(const std::string& bundleId) {
    for (const RunningApplication& app : desktop().workspace->runningApplications()) {
        if (app.bundleIdentifier == bundleId) {
            return app.processIdentifier;
        }
    }
    return std::nullopt;
}

SimOverlayWindow* ScenarioSession::overlayWindow(const std::string& bundleId) {
    const OverlayWindowController* overlays = velmora_.overlays();
    const auto window = overlays ? overlays->window(bundleId) : nullptr;
    for (const auto& made : desktop().overlayWindows->windows()) {
        if (window && made == window) {
            return made.get();
        }
    }
    return nullptr;
}

SimOverlayWindow* ScenarioSession::visibleOverlay(const std::string& bundleId) {
    SimOverlayWindow* window = overlayWindow(bundleId);
    return window && window->isVisible() ? window : nullptr;
}

std::vector<WindowListEntry> ScenarioSession::windowsOf(ProcessId pid) {
    std::vector<WindowListEntry> windows =
        desktop().windowServer->onScreenWindows().value_or(std::vector<WindowListEntry>{});
    std::erase_if(windows, [pid](const WindowListEntry& entry) { return entry.ownerPid != pid; });
    return windows;
}

std::string ScenarioSession::coverageOf(const WindowListEntry& window) {
    const Rect frame = entryFrame(window);
    // Overlays are placed with the origin at the bottom-left of the primary display.
    const auto screens = desktop().screens->screens();
    const auto primary = std::find_if(screens.begin(), screens.end(), [](const Screen& screen) {
        return screen.frame.x == 0 && screen.frame.y == 0;
    });
    const auto reference = primary != screens.end() ? std::optional<Screen>(*primary)
                                                    : desktop().screens->mainScreen();
    const double height = reference ? reference->frame.height : 0;
    const Rect placed{frame.x, height - frame.y - frame.height, frame.width, frame.height};
    const auto& cards = desktop().overlayWindows->windows();
    if (std::any_of(cards.begin(), cards.end(), [&](const auto& card) {
            return card->isVisible() && card->frame() == placed;
        })) {
        return "card";
    }
    const auto covers = window.number ? desktop().windowServer->coversDirectlyAbove(*window.number)
                                      : std::vector<CoverPlacement>{};
    const bool covered =
        std::any_of(covers.begin(), covers.end(),
                    [&](const CoverPlacement& cover) { return cover.frame == placed; });
    return covered ? "cover" : "no";
}

std::string ScenarioSession::stateText() {
    if (!velmora_.isLaunched()) {
        return "not launched";
    }
    LockEngine* engine = velmora_.engine();
    if (!engine) {
        return "no lock engine";
    }
    const LockState& state = engine->currentState().get();
    switch (state.kind()) {
    case LockState::Kind::idle:
        return "idle";
    case LockState::Kind::locked:
        return "locked " + state.target().bundleId;
    case LockState::Kind::unlocked:
        return "unlocked " + state.target().bundleId;
    }
    return {};
}

std::vector<std::string> ScenarioSession::hiddenApplications() {
    std::vector<std::string> hidden;
    for (const RunningApplication& app : desktop().workspace->runningApplications()) {
        if (desktop().workspace->isHidden(app.processIdentifier)) {
            hidden.push_back(applicationText(app));
        }
    }
    std::sort(hidden.begin(), hidden.end());
    return hidden;
}

std::string ScenarioSession::applicationText(const RunningApplication& app) {
    return app.bundleIdentifier.value_or("pid " + std::to_string(app.processIdentifier));
}

std::optional<std::string> ScenarioSession::frontmostText() {
    const auto front = desktop().workspace->frontmostApplication();
    if (!front) {
        return std::nullopt;
    }
    return applicationText(*front);
}

std::string ScenarioSession::velmoraText() {
    if (desktop().hostApplication->isTerminated()) {
        return "terminated";
    }
    return velmora_.isLaunched() ? "running" : "not launched";
}

ScenarioSession::Snapshot ScenarioSession::snapshot() {
    const OverlayWindowController* overlays = velmora_.overlays();
    return {
        overlays ? overlays->visibleBundleIds() : std::vector<std::string>{},
        hiddenApplications(),
        desktop().authenticator->promptCount(),
        frontmostText(),
        desktop().hostApplication->isTerminated(),
    };
}

void ScenarioSession::printTimelineLine(const std::string& command, const Snapshot& before) {
    const Snapshot after = snapshot();
    const double elapsed = Seconds(desktop().loop->now() - start_).count();
    char time[32];
    std::snprintf(time, sizeof time, "[%7.3fs] ", elapsed);
    report_ << time << command << "  -> " << engineStateText();
    printDifference("overlay shown", after.overlays, before.overlays);
    printDifference("overlay hidden", before.overlays, after.overlays);
    printDifference("app hidden", after.hidden, before.hidden);
    const auto& prompts = desktop().authenticator->prompts();
    for (std::size_t i = before.prompts; i < after.prompts; ++i) {
        report_ << "  prompt: " << inQuotes(prompts[i].reason);
    }
    if (after.front != before.front) {
        report_ << "  front: " << after.front.value_or("none");
    }
    if (after.terminated && !before.terminated) {
        report_ << "  Velmora terminated";
    }
    report_ << "\n";
}

void ScenarioSession::printDifference(const char* label, const std::vector<std::string>& these,
                                      const std::vector<std::string>& those) {
    std::vector<std::string> difference;
    std::set_difference(these.begin(), these.end(), those.begin(), those.end(),
                        std::back_inserter(difference));
    if (difference.empty()) {
        return;
    }
    report_ << "  " << label << ": ";
    for (std::size_t i = 0; i < difference.size(); ++i) {
        report_ << (i > 0 ? ", " : "") << difference[i];
    }
}

std::string ScenarioSession::engineStateText() {
    LockEngine* engine = velmora_.engine();
    return engine ? toString(engine->currentState().get()) : stateText();
}

} // namespace velmora::scenario
