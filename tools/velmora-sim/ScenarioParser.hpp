#pragma once

#include "ScenarioCommand.hpp"

#include <string>
#include <string_view>
#include <variant>

namespace velmora::scenario {

/// Reads the scenario language: one command per line, tokens separated by blanks, a token in
/// double quotes may hold blanks (and `\"` or `\\`), `#` outside quotes starts a comment.
///
///     Scenario scenario = ScenarioParser::parse(fileText);
///     for (const ScenarioError& e : scenario.errors) {
///         std::cerr << path << ":" << e.line << ": " << e.message << "\n";
///     }
///     for (const ScenarioStep& step : scenario.steps) { run(step.command); }
///
/// A malformed line gives an error and the parse goes on with the next line.
class ScenarioParser {
public:
    static Scenario parse(std::string_view text);

    /// One line, without its line end: a command, an error message, or neither for a blank or
    /// comment-only line.
    using LineResult = std::variant<std::monostate, ScenarioCommand, std::string>;
    static LineResult parseLine(std::string_view line);
};

} // namespace velmora::scenario
