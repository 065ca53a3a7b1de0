#pragma once

#include <filesystem>
#include <string>

namespace velmora::e2e {

/// A fresh directory under the system's temporary directory, removed with everything in it
/// when the object goes.
///
///     TemporaryDirectory home("velmora-home");
///     std::ofstream(home.path() / "notes.txt") << "...";
class TemporaryDirectory {
public:
    explicit TemporaryDirectory(const std::string& prefix);
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace velmora::e2e
