#include "Core/Logging.hpp"

#include <array>

namespace velmora {

std::string_view logLevelWord(LogLevel level) {
    static constexpr std::array<std::string_view, 5> words{"DEBUG", "INFO", "WARN", "ERROR",
                                                           "FATAL"};
    return words.at(static_cast<std::size_t>(level));
}

namespace {

void eraseAll(std::string& text, std::string_view what) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.erase(at, what.size());
    }
}

std::string_view stripTemplateArguments(std::string_view name) {
    // "void f() [with T = int]"
    if (const auto with = name.find(" [with "); with != std::string_view::npos) {
        name = name.substr(0, with);
    }
    return name;
}

std::string_view stripLambda(std::string_view name) {
    // "ns::Class::start()::<lambda()>" reports "start()".
    if (const auto lambda = name.find("::<lambda"); lambda != std::string_view::npos) {
        name = name.substr(0, lambda);
    }
    return name;
}

} // namespace

std::string functionSignature(std::string_view compilerFunctionName) {
    std::string_view name = stripLambda(stripTemplateArguments(compilerFunctionName));

    const auto close = name.rfind(')');
    if (close == std::string_view::npos) {
        return std::string(name);
    }
    int depth = 0;
    std::size_t open = std::string_view::npos;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (name[i] == ')') {
            ++depth;
        } else if (name[i] == '(' && --depth == 0) {
            open = i;
            break;
        }
    }
    if (open == std::string_view::npos) {
        return std::string(name);
    }

    // The unqualified name starts after the last "::" or blank outside template brackets.
    std::size_t start = 0;
    int angle = 0;
    for (std::size_t i = open; i-- > 0;) {
        const char c = name[i];
        if (c == '>') {
            ++angle;
        } else if (c == '<') {
            --angle;
        } else if (angle == 0 && (c == ' ' || c == ':' || c == '*' || c == '&')) {
            start = i + 1;
            break;
        }
    }

    std::string result(name.substr(start, close + 1 - start));
    eraseAll(result, "velmora::");
    eraseAll(result, "__cxx11::");
    return result;
}

} // namespace velmora
