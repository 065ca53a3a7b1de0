#pragma once

#include "Support/TemporaryDirectory.hpp"

#include <filesystem>
#include <fstream>
#include <string>
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

} // namespace velmora::testing
