#pragma once

#include <filesystem>
#include <string>

namespace velmora::e2e {

/// An installed application as the XDG menu knows it.
struct DesktopEntry {
    /// The desktop-file ID: the file is "<id>.desktop".
    std::string id;
    std::string name;
    std::string exec;
    std::string startupWmClass;

    /// Writes `<dataDirectory>/applications/<id>.desktop`.
    void writeInto(const std::filesystem::path& dataDirectory) const;
};

} // namespace velmora::e2e
