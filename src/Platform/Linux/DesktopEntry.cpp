#include "Platform/Linux/DesktopEntry.hpp"

#include "Platform/Linux/AtomicFile.hpp"
#include "Platform/Linux/Utf8.hpp"

#include <cstdlib>

namespace velmora {

namespace {

constexpr std::string_view kGroup = "[Desktop Entry]";
constexpr std::string_view kSpaces = " \t";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kSpaces);
    return text.substr(first, last - first + 1);
}

std::string unescaped(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        switch (raw[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            // Other escapes (such as \; in lists) belong to the value's own syntax.
            out += '\\';
            out += raw[i];
        }
    }
    return validUtf8(out);
}

/// The words of an `Exec` value, with its double-quoting and "%%" resolved.
std::vector<std::string> execWords(std::string_view exec) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == '%' && i + 1 < exec.size() && exec[i + 1] == '%') {
            word += '%';
            inWord = true;
            ++i;
        } else if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
                inWord = false;
            }
        } else {
            inWord = true;
            if (c == '"') {
                quoted = true;
            } else {
                word += c;
            }
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

bool isAssignment(std::string_view word) {
    const auto equals = word.find('=');
    return equals != std::string_view::npos && equals > 0 && word.front() != '/';
}

std::string_view baseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

DesktopLocale DesktopLocale::parse(std::string_view name) {
    if (name.empty() || name == "C" || name == "POSIX") {
        return {};
    }
    DesktopLocale locale;
    if (const auto at = name.find('@'); at != std::string_view::npos) {
        locale.modifier = name.substr(at + 1);
        name = name.substr(0, at);
    }
    if (const auto dot = name.find('.'); dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    if (const auto underscore = name.find('_'); underscore != std::string_view::npos) {
        locale.country = name.substr(underscore + 1);
        name = name.substr(0, underscore);
    }
    locale.language = name;
    if (locale.language.empty()) {
        return {};
    }
    return locale;
}

DesktopLocale DesktopLocale::fromEnvironment() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(variable); value && *value) {
            return parse(value);
        }
    }
    return {};
}

std::vector<std::string> DesktopLocale::candidates() const {
    if (language.empty()) {
        return {};
    }
    std::vector<std::string> out;
    const std::string withCountry = language + "_" + country;
    if (!country.empty() && !modifier.empty()) {
        out.push_back(withCountry + "@" + modifier);
    }
    if (!country.empty()) {
        out.push_back(withCountry);
    }
    if (!modifier.empty()) {
        out.push_back(language + "@" + modifier);
    }
    out.push_back(language);
    return out;
}

std::optional<DesktopEntry> DesktopEntry::parse(std::string_view text) {
    DesktopEntry entry;
    bool found = false;
    bool inGroup = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        line = trimmed(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            // A repeated group is not a second entry; only its first occurrence counts.
            inGroup = line == kGroup && !found;
            found = found || inGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string key(trimmed(line.substr(0, equals)));
        // The first of repeated keys wins.
        entry.values_.emplace(key, std::string(trimmed(line.substr(equals + 1))));
    }
    if (!found) {
        return std::nullopt;
    }
    return entry;
}

std::optional<DesktopEntry> DesktopEntry::load(const std::string& path) {
    const auto text = readWholeFile(path);
    if (!text) {
        return std::nullopt;
    }
    return parse(*text);
}

std::optional<std::string> DesktopEntry::value(std::string_view key) const {
    const auto it = values_.find(key);
    if (it == values_.end()) {
        return std::nullopt;
    }
    return unescaped(it->second);
}

std::optional<std::string> DesktopEntry::localized(std::string_view key,
                                                   const DesktopLocale& locale) const {
    for (const auto& suffix : locale.candidates()) {
        if (auto found = value(std::string(key) + "[" + suffix + "]")) {
            return found;
        }
    }
    return value(key);
}

bool DesktopEntry::flag(std::string_view key) const {
    return value(key) == "true";
}

bool DesktopEntry::isApplication() const {
    return value("Type") == "Application" && !flag("Hidden");
}

std::optional<std::string> DesktopEntry::execProgram() const {
    const auto exec = value("Exec");
    if (!exec) {
        return std::nullopt;
    }
    const auto words = execWords(*exec);
    auto word = words.begin();
    if (word != words.end() && baseName(*word) == "env") {
        ++word;
        while (word != words.end() && !word->empty() && word->front() == '-') {
            ++word;
        }
    }
    while (word != words.end() && isAssignment(*word)) {
        ++word;
    }
    const bool fieldCode = word != words.end() && word->size() == 2 && word->front() == '%';
    if (word == words.end() || word->empty() || fieldCode) {
        return std::nullopt;
    }
    return *word;
}

} // namespace velmora
