#include "Support/Logging.hpp"

#include <array>
#include <unordered_map>

namespace velmora {

std::string_view logLevelWord(LogLevel level) {
    static constexpr std::array<std::string_view, 5> words{"DEBUG", "INFO", "WARN", "ERROR",
                                                           "FATAL"};
    return words.at(static_cast<std::size_t>(level));
}

namespace {

void replaceAll(std::string& text, std::string_view what, std::string_view with) {
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at)) {
        text.replace(at, what.size(), with);
        at += with.size();
    }
}

std::string_view stripTemplateArguments(std::string_view name) {
    // "void f(T) [with T = int]"
    if (const auto with = name.find(" [with "); with != std::string_view::npos) {
        name = name.substr(0, with);
    }
    return name;
}

bool isIdentifierChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

/// Where the operator name ("operator<", "operator bool") ending at `end` starts, if it is one.
std::size_t operatorNameStart(std::string_view name, std::size_t end) {
    static constexpr std::string_view keyword = "operator";
    for (auto at = name.rfind(keyword, end); at != std::string_view::npos;
         at = at == 0 ? std::string_view::npos : name.rfind(keyword, at - 1)) {
        const bool startsWord = at == 0 || !isIdentifierChar(name[at - 1]);
        const std::size_t after = at + keyword.size();
        const bool endsWord = after >= end || !isIdentifierChar(name[after]);
        if (startsWord && endsWord) {
            return at;
        }
    }
    return std::string_view::npos;
}

/// The opening parenthesis matching the one closing at `close`.
std::size_t matchingOpen(std::string_view name, std::size_t close) {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (name[i] == ')') {
            ++depth;
        } else if (name[i] == '(' && --depth == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

/// Where the unqualified function name ending at `open` starts: after the last "::" or blank
/// outside template brackets.
std::size_t unqualifiedNameStart(std::string_view name, std::size_t open) {
    if (const auto op = operatorNameStart(name, open); op != std::string_view::npos) {
        return op;
    }
    int angle = 0;
    for (std::size_t i = open; i-- > 0;) {
        const char c = name[i];
        if (c == '>') {
            ++angle;
        } else if (c == '<') {
            --angle;
        } else if (angle == 0 && (c == ' ' || c == ':' || c == '*' || c == '&')) {
            return i + 1;
        }
    }
    return 0;
}

std::string tidyTypes(std::string text) {
    // g++ writes nested template brackets apart: "vector<basic_string<char> >".
    for (auto at = text.find("> >"); at != std::string::npos; at = text.find("> >")) {
        text.erase(at + 1, 1);
    }
    replaceAll(text, "std::__cxx11::basic_string<char>", "std::string");
    replaceAll(text, "__cxx11::", "");
    replaceAll(text, "velmora::", "");
    replaceAll(text, "{anonymous}::", "");
    return text;
}

} // namespace

std::string functionSignature(std::string_view compilerFunctionName) {
    std::string_view name = stripTemplateArguments(compilerFunctionName);

    // "ns::Class::start()::<lambda()>" reports "start()". A lambda outside any function
    // (a namespace-scope initialiser) has nothing better to report than itself.
    const auto lambda = name.find("<lambda");
    if (lambda != std::string_view::npos) {
        const std::string_view enclosing = name.substr(0, lambda);
        if (enclosing.find('(') == std::string_view::npos) {
            const auto end = name.find(">::", lambda);
            return tidyTypes(std::string(
                name.substr(lambda, end == std::string_view::npos ? name.npos : end + 1 - lambda)));
        }
        name = enclosing.substr(0, enclosing.size() - (enclosing.ends_with("::") ? 2 : 0));
    }

    const auto close = name.rfind(')');
    if (close == std::string_view::npos) {
        return tidyTypes(std::string(name));
    }
    const auto open = matchingOpen(name, close);
    if (open == std::string_view::npos) {
        return tidyTypes(std::string(name));
    }
    const auto start = unqualifiedNameStart(name, open);
    return tidyTypes(std::string(name.substr(start, close + 1 - start)));
}

std::string_view siteFunctionSignature(const char* compilerFunctionName) {
    // Keyed by the name's address: each function's name is one constant string. Per thread,
    // so that no call waits for another.
    thread_local std::unordered_map<const char*, std::string> signatures;
    auto found = signatures.find(compilerFunctionName);
    if (found == signatures.end()) {
        found =
            signatures.emplace(compilerFunctionName, functionSignature(compilerFunctionName)).first;
    }
    return found->second;
}

} // namespace velmora
