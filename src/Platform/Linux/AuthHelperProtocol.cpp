#include "Platform/Linux/AuthHelperProtocol.hpp"

#include <array>
#include <charconv>

namespace velmora::authhelper {

namespace {

struct KindName {
    HelperMessageKind kind;
    std::string_view name;
};

constexpr std::array<KindName, 6> kKindNames{{
    {HelperMessageKind::promptHidden, "prompt-hidden"},
    {HelperMessageKind::promptVisible, "prompt-visible"},
    {HelperMessageKind::info, "info"},
    {HelperMessageKind::error, "error"},
    {HelperMessageKind::retry, "retry"},
    {HelperMessageKind::result, "result"},
}};

struct ResultName {
    HelperResult result;
    std::string_view name;
    int exitStatus;
};

constexpr std::array<ResultName, 4> kResultNames{{
    {HelperResult::success, "success", 0},
    {HelperResult::failed, "failed", 1},
    {HelperResult::cancelled, "cancelled", 2},
    {HelperResult::unavailable, "unavailable", 3},
}};

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t') || byte == 0x7f;
}

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += isControl(c) ? ' ' : c;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (isControl(c)) {
            return std::nullopt;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size()) {
            return std::nullopt;
        }
        if (text[i] == '\\') {
            out += '\\';
        } else if (text[i] == 'n') {
            out += '\n';
        } else {
            return std::nullopt;
        }
    }
    return out;
}

/// A whole decimal number without sign or leading zeros.
template <typename Number> std::optional<Number> parseNumber(std::string_view text) {
    if (text.empty() || (text.size() > 1 && text.front() == '0')) {
        return std::nullopt;
    }
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.front() == '-') {
        return std::nullopt;
    }
    return value;
}

std::pair<std::string_view, std::string_view> splitWord(std::string_view line) {
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos) {
        return {line, {}};
    }
    return {line.substr(0, space), line.substr(space + 1)};
}

} // namespace

std::string encodeHelperMessage(const HelperMessage& message) {
    std::string line;
    for (const KindName& entry : kKindNames) {
        if (entry.kind == message.kind) {
            line = entry.name;
        }
    }
    switch (message.kind) {
    case HelperMessageKind::retry:
        line += ' ' + std::to_string(message.pamCode);
        break;
    case HelperMessageKind::result:
        for (const ResultName& entry : kResultNames) {
            if (entry.result == message.result) {
                line += ' ';
                line += entry.name;
            }
        }
        if (message.result == HelperResult::failed) {
            line += ' ' + std::to_string(message.pamCode);
        }
        break;
    default:
        line += ' ' + escaped(message.text);
        break;
    }
    return line + '\n';
}

std::optional<HelperMessage> decodeHelperMessage(std::string_view line) {
    const auto [word, rest] = splitWord(line);
    const KindName* kind = nullptr;
    for (const KindName& entry : kKindNames) {
        if (entry.name == word) {
            kind = &entry;
        }
    }
    if (!kind || word.size() == line.size()) {
        return std::nullopt;
    }

    HelperMessage message;
    message.kind = kind->kind;
    if (message.kind == HelperMessageKind::retry) {
        const auto code = parseNumber<int>(rest);
        if (!code) {
            return std::nullopt;
        }
        message.pamCode = *code;
        return message;
    }
    if (message.kind == HelperMessageKind::result) {
        const auto [resultWord, code] = splitWord(rest);
        for (const ResultName& entry : kResultNames) {
            if (entry.name != resultWord) {
                continue;
            }
            message.result = entry.result;
            if (entry.result != HelperResult::failed) {
                return resultWord.size() == rest.size() ? std::optional(message) : std::nullopt;
            }
            const auto pamCode = parseNumber<int>(code);
            if (!pamCode) {
                return std::nullopt;
            }
            message.pamCode = *pamCode;
            return message;
        }
        return std::nullopt;
    }
    auto text = unescaped(rest);
    if (!text) {
        return std::nullopt;
    }
    message.text = std::move(*text);
    return message;
}

int exitStatusFor(HelperResult result) {
    for (const ResultName& entry : kResultNames) {
        if (entry.result == result) {
            return entry.exitStatus;
        }
    }
    return kResultNames[1].exitStatus;
}

std::optional<SecretBuffer> encodePassword(std::string_view password) {
    if (password.size() > kMaxSecretSize || password.find('\0') != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string header = "password " + std::to_string(password.size()) + '\n';
    std::string answer;
    answer.reserve(header.size() + password.size() + 1);
    answer += header;
    answer += password;
    answer += '\n';
    SecretBuffer encoded(answer);
    explicit_bzero(answer.data(), answer.size());
    return encoded;
}

std::optional<AnswerHeader> decodeAnswerHeader(std::string_view line) {
    if (line == "cancel") {
        return AnswerHeader{true, 0};
    }
    const auto [word, count] = splitWord(line);
    if (word != "password") {
        return std::nullopt;
    }
    const auto size = parseNumber<std::size_t>(count);
    if (!size || *size > kMaxSecretSize) {
        return std::nullopt;
    }
    return AnswerHeader{false, *size};
}

} // namespace velmora::authhelper
