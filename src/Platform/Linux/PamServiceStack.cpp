#include "Platform/Linux/PamServiceStack.hpp"

#include <fstream>
#include <set>
#include <sstream>

namespace velmora {

namespace {

/// Deeper than any distribution nests its common stacks.
constexpr int kMaxIncludeDepth = 16;

/// The logical lines of a service file: comments removed, "\"-continued lines joined.
std::vector<std::string> logicalLines(std::istream& in) {
    std::vector<std::string> lines;
    std::string pending;
    std::string line;
    while (std::getline(in, line)) {
        if (const auto hash = line.find('#'); hash != std::string::npos) {
            line.erase(hash);
        }
        if (!line.empty() && line.back() == '\\') {
            line.back() = ' ';
            pending += line;
            continue;
        }
        lines.push_back(pending + line);
        pending.clear();
    }
    if (!pending.empty()) {
        lines.push_back(pending);
    }
    return lines;
}

/// Words separated by blanks, a bracketed control field ("[success=1 default=ignore]") being
/// one word.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::istringstream in(line);
    std::string word;
    while (in >> word) {
        if (word.front() == '[') {
            std::string rest;
            while (word.find(']') == std::string::npos && in >> rest) {
                word += ' ' + rest;
            }
        }
        result.push_back(word);
    }
    return result;
}

class StackReader {
public:
    explicit StackReader(std::filesystem::path directory) : directory_(std::move(directory)) {}

    void read(const std::filesystem::path& file, int depth) {
        std::error_code error;
        const auto canonical = std::filesystem::weakly_canonical(file, error);
        if (depth > kMaxIncludeDepth || error || !visited_.insert(canonical).second) {
            return;
        }
        std::ifstream in(file);
        for (const std::string& line : logicalLines(in)) {
            readLine(words(line), depth);
        }
    }

    std::vector<std::string> modules;

private:
    void readLine(const std::vector<std::string>& fields, int depth) {
        if (fields.size() >= 2 && fields[0] == "@include") {
            read(included(fields[1]), depth + 1);
            return;
        }
        if (fields.size() < 3) {
            return;
        }
        // A leading '-' only makes a missing module quiet.
        std::string_view type = fields[0];
        if (type.front() == '-') {
            type.remove_prefix(1);
        }
        if (type != "auth") {
            return;
        }
        if (fields[1] == "include" || fields[1] == "substack") {
            read(included(fields[2]), depth + 1);
            return;
        }
        modules.push_back(std::filesystem::path(fields[2]).filename().string());
    }

    [[nodiscard]] std::filesystem::path included(const std::string& name) const {
        const std::filesystem::path path(name);
        return path.is_absolute() ? path : directory_ / path;
    }

    std::filesystem::path directory_;
    std::set<std::filesystem::path> visited_;
};

} // namespace

std::optional<std::filesystem::path> serviceFile(const std::filesystem::path& directory,
                                                 std::string_view service) {
    std::error_code error;
    for (const std::string_view name : {service, std::string_view("other")}) {
        const std::filesystem::path file = directory / name;
        if (!name.empty() && name.find('/') == std::string_view::npos &&
            std::filesystem::is_regular_file(file, error)) {
            return file;
        }
    }
    return std::nullopt;
}

std::vector<std::string> authModules(const std::filesystem::path& file) {
    StackReader reader(file.parent_path());
    reader.read(file, 0);
    return std::move(reader.modules);
}

} // namespace velmora
