#include "CommandLine.hpp"

namespace velmora {

CommandLine CommandLine::parse(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return {};
    }
    if (arguments.size() == 1) {
        const std::string& argument = arguments.front();
        if (argument == "--help" || argument == "-h") {
            return {Action::help, {}};
        }
        if (argument == "--version" || argument == "-v") {
            return {Action::version, {}};
        }
        return {Action::invalid, "unknown option '" + argument + "'"};
    }
    return {Action::invalid, "too many arguments"};
}

} // namespace velmora
