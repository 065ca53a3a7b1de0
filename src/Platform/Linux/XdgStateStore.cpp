#include "Platform/Linux/XdgStateStore.hpp"

#include "Platform/Linux/AtomicFile.hpp"
#include "Platform/Linux/XdgDirectories.hpp"

#include <filesystem>
#include <sys/stat.h>

namespace velmora {

namespace {

bool isPlainName(std::string_view name) {
    return !name.empty() && name.front() != '.' && name.find('/') == std::string_view::npos;
}

} // namespace

XdgStateStore::XdgStateStore(std::string directory) : directory_(std::move(directory)) {}

std::string XdgStateStore::defaultDirectory() {
    return XdgDirectories::stateHome() + "/velmora";
}

std::optional<std::string> XdgStateStore::read(std::string_view name) const {
    if (!isPlainName(name)) {
        return std::nullopt;
    }
    return readWholeFile(directory_ + "/" + std::string(name));
}

bool XdgStateStore::write(std::string_view name, std::string_view contents) {
    if (!isPlainName(name)) {
        return false;
    }
    // Its parents as the base-directory rules make them; the folder itself for this account
    // alone, also when an older one was made more open.
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(directory_).parent_path(), ignored);
    ::mkdir(directory_.c_str(), 0700);
    struct stat info {};
    if (::lstat(directory_.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        ::chmod(directory_.c_str(), 0700) != 0) {
        return false;
    }
    return !writeFileAtomically(directory_ + "/" + std::string(name), contents, 0600);
}

} // namespace velmora
