#include "ScenarioParser.hpp"

#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <utility>

namespace velmora::scenario {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

struct Tokens {
    std::vector<std::string> words;
    std::optional<std::string> error;
    /// Where the command ends: at its comment, or at the end of the line.
    std::size_t end = 0;
};

/// Reads a quoted token starting after its opening quote; `i` ends after the closing quote.
std::optional<std::string> readQuoted(std::string_view line, std::size_t& i, std::string& error) {
    std::string word;
    while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
            return word;
        }
        if (c != '\\') {
            word += c;
            continue;
        }
        if (i == line.size()) {
            break;
        }
        const char escaped = line[i++];
        if (escaped != '"' && escaped != '\\') {
            error = "unknown escape " + quoted(std::string{'\\', escaped}) + " in quotes";
            return std::nullopt;
        }
        word += escaped;
    }
    error = "unterminated quote";
    return std::nullopt;
}

Tokens tokenize(std::string_view line) {
    Tokens tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        if (line[i] == '#') {
            tokens.end = i;
            return tokens;
        }
        if (line[i] == '"') {
            ++i;
            std::string error;
            auto word = readQuoted(line, i, error);
            if (!word) {
                tokens.error = std::move(error);
                return tokens;
            }
            if (i < line.size() && !isBlank(line[i]) && line[i] != '#') {
                tokens.error = "expected a blank after the closing quote";
                return tokens;
            }
            tokens.words.push_back(std::move(*word));
            continue;
        }
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i]) && line[i] != '#') {
            if (line[i] == '"') {
                tokens.error = "unexpected quote after " + quoted(line.substr(start, i - start));
                return tokens;
            }
            ++i;
        }
        tokens.words.emplace_back(line.substr(start, i - start));
    }
    tokens.end = line.size();
    return tokens;
}

/// An optional minus sign and digits.
std::optional<std::int64_t> parseInteger(std::string_view text) {
    const std::size_t digits = !text.empty() && text.front() == '-' ? 1 : 0;
    if (text.size() == digits ||
        !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(digits), text.end(), isDigit)) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

/// A whole or decimal number: an optional minus sign, digits, then perhaps a point and digits.
std::optional<double> parseDecimal(std::string_view text) {
    std::string_view rest = text;
    if (!rest.empty() && rest.front() == '-') {
        rest.remove_prefix(1);
    }
    const auto point = rest.find('.');
    const std::string_view whole = rest.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{"0"} : rest.substr(point + 1);
    if (whole.empty() || fraction.empty() || !std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit)) {
        return std::nullopt;
    }
    // Read in the classic locale, whatever the process's own: a point is always the decimal
    // point. (Not every standard library reads a double with std::from_chars.)
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value) || in.peek() != std::istringstream::traits_type::eof()) {
        return std::nullopt;
    }
    return value;
}

template <class T> using Choices = std::initializer_list<std::pair<std::string_view, T>>;

/// "a or b", "a, b or c".
template <class T> std::string listChoices(Choices<T> choices) {
    std::string text;
    std::size_t index = 0;
    for (const auto& choice : choices) {
        if (index > 0) {
            text += index + 1 == choices.size() ? " or " : ", ";
        }
        text += choice.first;
        ++index;
    }
    return text;
}

/// The words of one command after its name, read in order. The first failure is kept and
/// later reads return empty values, so a command is built in straight-line code and thrown
/// away when `error()` is set.
class Reader {
public:
    Reader(std::vector<std::string> words, std::size_t first, std::string_view usage)
        : words_(std::move(words)), next_(first), usage_(usage) {}

    [[nodiscard]] const std::optional<std::string>& error() const { return error_; }
    [[nodiscard]] bool atEnd() const { return error_ || next_ >= words_.size(); }
    [[nodiscard]] bool nextIs(std::string_view word) const {
        return !atEnd() && words_[next_] == word;
    }
    [[nodiscard]] bool nextIsNumber() const {
        return !atEnd() && parseInteger(words_[next_]).has_value();
    }

    void fail(std::string message) {
        if (!error_) {
            error_ = std::move(message);
        }
    }

    std::string word(std::string_view placeholder) {
        if (error_) {
            return {};
        }
        if (next_ >= words_.size()) {
            fail("missing " + std::string(placeholder) + usageNote());
            return {};
        }
        return words_[next_++];
    }

    double number(std::string_view placeholder) {
        const std::string text = word(placeholder);
        return decimalValue(placeholder, text);
    }

    double size(std::string_view placeholder) {
        const std::string text = word(placeholder);
        const double value = decimalValue(placeholder, text);
        if (!error_ && value < 0) {
            fail("expected a non-negative number for " + std::string(placeholder) + ", got " +
                 quoted(text));
        }
        return value;
    }

    Rect rect() {
        Rect frame;
        frame.x = number("<x>");
        frame.y = number("<y>");
        frame.width = size("<w>");
        frame.height = size("<h>");
        return frame;
    }

    /// A process identifier; 0 for "none" where `allowNone`.
    ProcessId pid(bool allowNone) {
        const std::string text = word("<pid>");
        if (error_) {
            return 0;
        }
        const auto value = parseInteger(text);
        const std::int64_t lowest = allowNone ? 0 : 1;
        if (!value || *value < lowest || *value > std::numeric_limits<ProcessId>::max()) {
            fail(std::string(allowNone ? "expected a process id or 0" : "expected a process id") +
                 " for <pid>, got " + quoted(text));
            return 0;
        }
        return static_cast<ProcessId>(*value);
    }

    std::int64_t count(std::string_view placeholder) {
        const std::string text = word(placeholder);
        return countValue(placeholder, text);
    }

    std::int64_t countValue(std::string_view name, std::string_view text) {
        if (error_) {
            return 0;
        }
        const auto value = parseInteger(text);
        if (!value || *value < 0) {
            fail("expected a whole number for " + std::string(name) + ", got " + quoted(text));
            return 0;
        }
        return *value;
    }

    template <class T> T choice(Choices<T> choices) {
        const std::string text = word(listChoices(choices));
        return choiceValue({}, text, choices);
    }

    /// `name` names the option the value belongs to, if any.
    template <class T>
    T choiceValue(std::string_view name, std::string_view text, Choices<T> choices) {
        if (error_) {
            return T{};
        }
        for (const auto& [word, value] : choices) {
            if (word == text) {
                return value;
            }
        }
        fail("expected " + listChoices(choices) +
             (name.empty() ? "" : " for " + std::string(name)) + ", got " + quoted(text));
        return T{};
    }

    /// Reads the remaining words as `key=value` options, each key at most once.
    void options(
        std::initializer_list<std::pair<std::string_view, std::function<void(std::string_view)>>>
            known) {
        std::vector<std::string_view> seen;
        while (!atEnd()) {
            const std::string option = words_[next_++];
            const auto equals = option.find('=');
            const std::string_view key = std::string_view(option).substr(0, equals);
            const auto handler = std::find_if(
                known.begin(), known.end(), [&](const auto& entry) { return entry.first == key; });
            if (equals == std::string::npos || handler == known.end()) {
                fail("unexpected " + quoted(option) + usageNote());
                return;
            }
            if (std::find(seen.begin(), seen.end(), handler->first) != seen.end()) {
                fail("option " + quoted(key) + " given twice");
                return;
            }
            seen.push_back(handler->first);
            handler->second(std::string_view(option).substr(equals + 1));
        }
    }

    /// Fails when words are left over.
    void finish() {
        if (!atEnd()) {
            fail("unexpected " + quoted(words_[next_]) + usageNote());
        }
    }

    [[nodiscard]] std::string usageNote() const { return " (usage: " + std::string(usage_) + ")"; }

private:
    double decimalValue(std::string_view placeholder, std::string_view text) {
        if (error_) {
            return 0;
        }
        const auto value = parseDecimal(text);
        if (!value) {
            fail("expected a number for " + std::string(placeholder) + ", got " + quoted(text));
            return 0;
        }
        return *value;
    }

    std::vector<std::string> words_;
    std::size_t next_;
    std::string_view usage_;
    std::optional<std::string> error_;
};

using Handler = ScenarioCommand (*)(Reader&);

struct Grammar {
    std::string_view name;
    std::string_view usage;
    Handler handler;
};

const Choices<bool> kGrantedOrDenied{{"granted", true}, {"denied", false}};
const Choices<bool> kYesOrNo{{"yes", true}, {"no", false}};

std::string bundleId(Reader& r) {
    return r.word("<bundleId>");
}

template <class Command> ScenarioCommand bare(Reader& r) {
    r.finish();
    return Command{};
}

template <SystemEvent event> ScenarioCommand systemEvent(Reader& r) {
    r.finish();
    return SystemEventCommand{event};
}

template <InputKind kind> ScenarioCommand input(Reader& r) {
    const ProcessId pid = r.pid(true);
    r.finish();
    return InputCommand{kind, pid};
}

ScenarioCommand screen(Reader& r) {
    ScreenCommand c;
    c.name = r.word("\"<name>\"");
    c.frame = r.rect();
    if (r.nextIs("main")) {
        r.word("main");
        c.isMain = true;
    }
    r.finish();
    return c;
}

ScenarioCommand permissions(Reader& r) {
    std::optional<bool> accessibility;
    std::optional<bool> input;
    r.options({
        {"accessibility",
         [&](std::string_view v) {
             accessibility = r.choiceValue("accessibility", v, kGrantedOrDenied);
         }},
        {"input", [&](std::string_view v) { input = r.choiceValue("input", v, kGrantedOrDenied); }},
    });
    if (!accessibility) {
        r.fail("missing accessibility=granted|denied" + r.usageNote());
    }
    if (!input) {
        r.fail("missing input=granted|denied" + r.usageNote());
    }
    return PermissionsCommand{accessibility.value_or(false), input.value_or(false)};
}

ScenarioCommand protect(Reader& r) {
    ProtectCommand c;
    c.bundleId = bundleId(r);
    c.displayName = r.word("\"<displayName>\"");
    r.options({
        {"timeout", [&](std::string_view v) { c.timeoutMinutes = r.countValue("timeout", v); }},
        {"autolock",
         [&](std::string_view v) {
             c.autoLock = r.choiceValue<bool>("autolock", v, {{"on", true}, {"off", false}});
         }},
    });
    return c;
}

ScenarioCommand app(Reader& r) {
    AppCommand c;
    const std::string id = bundleId(r);
    if (id != "-") {
        c.bundleId = id;
    }
    c.pid = r.pid(false);
    c.name = r.word("\"<name>\"");
    r.options({
        {"policy",
         [&](std::string_view v) {
             c.policy =
                 r.choiceValue<ActivationPolicy>("policy", v,
                                                 {{"regular", ActivationPolicy::regular},
                                                  {"accessory", ActivationPolicy::accessory}});
         }},
    });
    return c;
}

ScenarioCommand window(Reader& r) {
    WindowCommand c;
    c.pid = r.pid(false);
    c.frame = r.rect();
    r.options({
        {"layer",
         [&](std::string_view v) {
             const auto layer = parseInteger(v);
             if (!layer || *layer < std::numeric_limits<int>::min() ||
                 *layer > std::numeric_limits<int>::max()) {
                 r.fail("expected a whole number for layer, got " + quoted(v));
                 return;
             }
             c.layer = static_cast<int>(*layer);
         }},
    });
    return c;
}

ScenarioCommand moveWindow(Reader& r) {
    MoveWindowCommand c;
    c.pid = r.pid(false);
    c.from = r.rect();
    if (!r.nextIs("to")) {
        r.fail("missing \"to\"" + r.usageNote());
    }
    r.word("to");
    c.to = r.rect();
    r.finish();
    return c;
}

ScenarioCommand closeWindow(Reader& r) {
    CloseWindowCommand c;
    c.pid = r.pid(false);
    c.frame = r.rect();
    r.finish();
    return c;
}

ScenarioCommand raiseWindow(Reader& r) {
    RaiseWindowCommand c;
    c.pid = r.pid(false);
    c.frame = r.rect();
    r.finish();
    return c;
}

ScenarioCommand hiding(Reader& r) {
    const bool refused = r.choice<bool>({{"refused", true}, {"allowed", false}});
    r.finish();
    return HidingCommand{refused};
}

ScenarioCommand windowServer(Reader& r) {
    const bool announces = r.choice<bool>({{"announces", true}, {"quiet", false}});
    r.finish();
    return WindowServerCommand{announces};
}

ScenarioCommand activate(Reader& r) {
    if (r.nextIs("velmora")) {
        r.word("velmora");
        r.finish();
        return ActivateCommand{std::nullopt};
    }
    const ProcessId pid = r.pid(false);
    r.finish();
    return ActivateCommand{pid};
}

ScenarioCommand quit(Reader& r) {
    const ProcessId pid = r.pid(false);
    r.finish();
    return QuitCommand{pid};
}

ScenarioCommand press(Reader& r) {
    PressCommand c;
    c.button = r.choice<LockCardButton>(
        {{"unlock", LockCardButton::unlock}, {"minimize", LockCardButton::minimize}});
    c.bundleId = bundleId(r);
    r.finish();
    return c;
}

ScenarioCommand auth(Reader& r) {
    AuthCommand c;
    c.outcome = r.choice<AuthOutcome>({{"success", AuthOutcome::success},
                                       {"cancel", AuthOutcome::cancel},
                                       {"fail", AuthOutcome::fail},
                                       {"system-cancel", AuthOutcome::systemCancel},
                                       {"unavailable", AuthOutcome::unavailable},
                                       {"lockout", AuthOutcome::lockout},
                                       {"error", AuthOutcome::error}});
    if (c.outcome == AuthOutcome::error) {
        c.message = r.word("\"<message>\"");
    }
    r.finish();
    return c;
}

ScenarioCommand lock(Reader& r) {
    LockCommand c{bundleId(r)};
    r.finish();
    return c;
}

ScenarioCommand wait(Reader& r) {
    const double seconds = r.size("<seconds>");
    r.finish();
    return WaitCommand{seconds};
}

ScenarioCommand expectState(Reader& r) {
    ExpectStateCommand c;
    c.state = r.choice<ExpectedState>({{"idle", ExpectedState::idle},
                                       {"locked", ExpectedState::locked},
                                       {"unlocked", ExpectedState::unlocked}});
    if (!r.error() && c.state != ExpectedState::idle) {
        c.bundleId = bundleId(r);
    }
    r.finish();
    return c;
}

ScenarioCommand expectOverlay(Reader& r) {
    ExpectOverlayCommand c;
    c.bundleId = bundleId(r);
    if (r.nextIs("covers")) {
        r.word("covers");
        c.visible = true;
        c.covers = r.pid(false);
        r.finish();
        return c;
    }
    c.visible = r.choice<bool>({{"visible", true}, {"hidden", false}});
    if (r.nextIs("frame")) {
        r.word("frame");
        c.frame = r.rect();
    }
    r.finish();
    return c;
}

ScenarioCommand expectCovers(Reader& r) {
    ExpectCoversCommand c;
    c.pid = r.pid(false);
    c.count = r.count("<n>");
    r.finish();
    return c;
}

ScenarioCommand expectWindowCovered(Reader& r) {
    ExpectWindowCoveredCommand c;
    if (!r.nextIs("covered")) {
        r.fail("missing \"covered\"" + r.usageNote());
    }
    r.word("covered");
    c.pid = r.pid(false);
    c.frame = r.rect();
    c.coverage = r.choice<Coverage>({{"yes", Coverage::any},
                                     {"no", Coverage::none},
                                     {"card", Coverage::card},
                                     {"cover", Coverage::cover}});
    r.finish();
    return c;
}

ScenarioCommand expectFrontmost(Reader& r) {
    ExpectFrontmostCommand c{bundleId(r)};
    r.finish();
    return c;
}

ScenarioCommand expectHidden(Reader& r) {
    ExpectHiddenCommand c;
    if (r.nextIsNumber()) {
        c.pid = r.pid(false);
    } else {
        c.bundleId = bundleId(r);
    }
    c.hidden = r.choice(kYesOrNo);
    r.finish();
    return c;
}

ScenarioCommand expectUnlocked(Reader& r) {
    ExpectUnlockedCommand c;
    c.bundleId = bundleId(r);
    c.unlocked = r.choice(kYesOrNo);
    r.finish();
    return c;
}

ScenarioCommand expectPrompts(Reader& r) {
    const std::int64_t count = r.count("<n>");
    r.finish();
    return ExpectPromptsCommand{count};
}

ScenarioCommand expectPrompt(Reader& r) {
    ExpectPromptCommand c{r.word("\"<reason>\"")};
    r.finish();
    return c;
}

template <OutputChannel channel> ScenarioCommand expectOutput(Reader& r) {
    ExpectOutputCommand c{channel, r.word("\"<text>\"")};
    r.finish();
    return c;
}

ScenarioCommand expectVelmora(Reader& r) {
    const bool running = r.choice<bool>({{"running", true}, {"terminated", false}});
    r.finish();
    return ExpectVelmoraCommand{running};
}

constexpr Grammar kCommands[] = {
    {"screen", "screen \"<name>\" <x> <y> <w> <h> [main]", screen},
    {"permissions", "permissions accessibility=granted|denied input=granted|denied", permissions},
    {"protect", "protect <bundleId> \"<displayName>\" [timeout=<minutes>] [autolock=on|off]",
     protect},
    {"app", "app <bundleId> <pid> \"<name>\" [policy=regular|accessory]", app},
    {"window", "window <pid> <x> <y> <w> <h> [layer=<n>]", window},
    {"move-window", "move-window <pid> <x> <y> <w> <h> to <x> <y> <w> <h>", moveWindow},
    {"close-window", "close-window <pid> <x> <y> <w> <h>", closeWindow},
    {"raise-window", "raise-window <pid> <x> <y> <w> <h>", raiseWindow},
    {"hiding", "hiding refused|allowed", hiding},
    {"window-server", "window-server announces|quiet", windowServer},
    {"launch", "launch", bare<LaunchCommand>},
    {"activate", "activate <pid>|velmora", activate},
    {"quit", "quit <pid>", quit},
    {"key", "key <pid>", input<InputKind::key>},
    {"click", "click <pid>", input<InputKind::click>},
    {"press", "press unlock|minimize <bundleId>", press},
    {"auth", "auth success|cancel|fail|system-cancel|unavailable|lockout|error \"<message>\"",
     auth},
    {"lock-all", "lock-all", bare<LockAllCommand>},
    {"lock", "lock <bundleId>", lock},
    {"sleep", "sleep", systemEvent<SystemEvent::sleep>},
    {"screens-sleep", "screens-sleep", systemEvent<SystemEvent::screensSleep>},
    {"screens-wake", "screens-wake", systemEvent<SystemEvent::screensWake>},
    {"screen-lock", "screen-lock", systemEvent<SystemEvent::screenLock>},
    {"wait", "wait <seconds>", wait},
    {"quit-velmora", "quit-velmora", bare<QuitVelmoraCommand>},
};

constexpr Grammar kExpectations[] = {
    {"state", "expect state idle|locked <bundleId>|unlocked <bundleId>", expectState},
    {"overlay",
     "expect overlay <bundleId> visible|hidden [frame <x> <y> <w> <h>], or expect overlay "
     "<bundleId> covers <pid>",
     expectOverlay},
    {"covers", "expect covers <pid> <n>", expectCovers},
    {"window", "expect window covered <pid> <x> <y> <w> <h> yes|no|card|cover",
     expectWindowCovered},
    {"frontmost", "expect frontmost <bundleId>", expectFrontmost},
    {"hidden", "expect hidden <bundleId>|<pid> yes|no", expectHidden},
    {"unlocked", "expect unlocked <bundleId> yes|no", expectUnlocked},
    {"prompts", "expect prompts <n>", expectPrompts},
    {"prompt", "expect prompt \"<reason>\"", expectPrompt},
    {"log", "expect log \"<text>\"", expectOutput<OutputChannel::log>},
    {"stdout", "expect stdout \"<text>\"", expectOutput<OutputChannel::standardOutput>},
    {"velmora", "expect velmora running|terminated", expectVelmora},
};

template <std::size_t N>
const Grammar* findGrammar(const Grammar (&table)[N], std::string_view name) {
    const auto it = std::find_if(std::begin(table), std::end(table),
                                 [name](const Grammar& g) { return g.name == name; });
    return it == std::end(table) ? nullptr : it;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

ScenarioParser::LineResult parseTokens(Tokens tokens) {
    if (tokens.error) {
        return *tokens.error;
    }
    if (tokens.words.empty()) {
        return std::monostate{};
    }
    const std::string& name = tokens.words.front();
    const Grammar* grammar = nullptr;
    std::size_t first = 1;
    if (name == "expect") {
        if (tokens.words.size() < 2) {
            return std::string("missing what to expect after \"expect\"");
        }
        grammar = findGrammar(kExpectations, tokens.words[1]);
        if (!grammar) {
            return "unknown expectation " + quoted(tokens.words[1]);
        }
        first = 2;
    } else {
        grammar = findGrammar(kCommands, name);
        if (!grammar) {
            return "unknown command " + quoted(name);
        }
    }
    Reader reader(std::move(tokens.words), first, grammar->usage);
    ScenarioCommand command = grammar->handler(reader);
    if (reader.error()) {
        return *reader.error();
    }
    return command;
}

} // namespace

ScenarioParser::LineResult ScenarioParser::parseLine(std::string_view line) {
    return parseTokens(tokenize(line));
}

Scenario ScenarioParser::parse(std::string_view text) {
    Scenario scenario;
    std::size_t lineNumber = 0;
    while (!text.empty() || lineNumber == 0) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        Tokens tokens = tokenize(line);
        const std::string_view written = trimmed(line.substr(0, tokens.end));
        auto result = parseTokens(std::move(tokens));
        if (auto* command = std::get_if<ScenarioCommand>(&result)) {
            scenario.steps.push_back({lineNumber, std::move(*command), std::string(written)});
        } else if (auto* error = std::get_if<std::string>(&result)) {
            scenario.errors.push_back({lineNumber, std::move(*error)});
        } else if (const std::string_view rest = trimmed(line); !rest.empty()) {
            scenario.comments.push_back({lineNumber, std::string(rest)});
        }
    }
    return scenario;
}

} // namespace velmora::scenario
