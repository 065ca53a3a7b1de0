#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmora::testing {

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The file's lines without their line ends; a final line end adds no empty line.
inline std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

/// A fresh directory under the system's temporary directory, removed with everything in it.
///
///     TemporaryDirectory dir;
///     dir.write("applications/editor.desktop", "[Desktop Entry]\n...");
class TemporaryDirectory {
public:
    TemporaryDirectory() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TemporaryDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    [[nodiscard]] std::string path(const std::string& relative = "") const {
        return relative.empty() ? path_.string() : (path_ / relative).string();
    }

    /// Writes `contents` to `relative`, making its directories.
    std::string write(const std::string& relative, const std::string& contents) const {
        const auto file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << contents;
        return file.string();
    }

    [[nodiscard]] std::string read(const std::string& relative) const {
        return readFile(path_ / relative);
    }

    /// The names of the entries directly inside `relative`.
    [[nodiscard]] std::set<std::string> list(const std::string& relative = "") const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_ / relative)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path path_;
};

} // namespace velmora::testing
