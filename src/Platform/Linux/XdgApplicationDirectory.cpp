#include "Platform/Linux/XdgApplicationDirectory.hpp"

#include "Platform/Linux/DesktopFileId.hpp"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr std::string_view kSuffix = ".desktop";
/// Deep enough for any real layout, shallow enough to stop a symlink loop.
constexpr int kDeepestSubdirectory = 8;

bool sameTime(const std::timespec& a, const std::timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

std::timespec modificationTime(const std::string& dir) {
    struct stat info {};
    if (::stat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return {-1, 0};
    }
    return info.st_mtim;
}

std::optional<std::string> realPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) {
        return std::nullopt;
    }
    std::string out(resolved);
    std::free(resolved);
    return out;
}

/// The real path of the program a desktop entry names, found through PATH like a launcher.
std::optional<std::string> resolveProgram(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return realPath(program);
    }
    const char* pathVariable = std::getenv("PATH");
    std::string_view rest =
        pathVariable && *pathVariable ? pathVariable : "/usr/local/bin:/usr/bin:/bin";
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::string dir(rest.substr(0, colon));
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + program;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return realPath(candidate);
        }
    }
    return std::nullopt;
}

std::string lowercase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view lastComponent(std::string_view desktopId) {
    const auto dot = desktopId.rfind('.');
    return dot == std::string_view::npos ? desktopId : desktopId.substr(dot + 1);
}

std::vector<std::string> sortedNames(const std::string& dir) {
    std::vector<std::string> names;
    DIR* stream = ::opendir(dir.c_str());
    if (!stream) {
        return names;
    }
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    ::closedir(stream);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

XdgApplicationDirectory::XdgApplicationDirectory(std::vector<std::string> applicationDirs,
                                                 DesktopLocale locale)
    : applicationDirs_(std::move(applicationDirs)), locale_(std::move(locale)) {}

std::optional<DesktopApplication>
XdgApplicationDirectory::application(std::string_view desktopId) const {
    return find(index(), desktopId);
}

std::optional<DesktopApplication> XdgApplicationDirectory::find(const Index& entries,
                                                                std::string_view desktopId) {
    const auto it = entries.find(desktopId);
    if (it == entries.end()) {
        return std::nullopt;
    }
    return it->second.application;
}

std::optional<DesktopApplication>
XdgApplicationDirectory::applicationForWindow(const WindowIdentity& identity) const {
    const auto& entries = index();
    if (identity.gtkApplicationId) {
        if (auto app = find(entries, *identity.gtkApplicationId)) {
            return app;
        }
    }
    if (identity.kdeDesktopFile) {
        std::string_view file = *identity.kdeDesktopFile;
        if (file.ends_with(kSuffix)) {
            file.remove_suffix(kSuffix.size());
        }
        if (file.starts_with('/')) {
            const std::string path = std::string(file) + std::string(kSuffix);
            for (const auto& [id, entry] : entries) {
                if (entry.application.path == path) {
                    return entry.application;
                }
            }
        } else if (auto app = find(entries, file)) {
            return app;
        }
    }

    std::vector<std::string_view> names;
    for (const auto* name : {&identity.wmClassClass, &identity.wmClassInstance}) {
        if (*name && !(*name)->empty()) {
            names.push_back(**name);
        }
    }
    for (const auto name : names) {
        for (const auto& [id, entry] : entries) {
            if (entry.startupWmClass == name) {
                return entry.application;
            }
        }
    }
    for (const auto name : names) {
        if (auto exact = find(entries, name)) {
            return exact;
        }
        const std::string folded = lowercase(name);
        for (const auto& [id, entry] : entries) {
            if (lowercase(id) == folded) {
                return entry.application;
            }
        }
    }
    for (const auto name : names) {
        const std::string folded = lowercase(name);
        std::vector<const Indexed*> matches;
        for (const auto& [id, entry] : entries) {
            if (lowercase(lastComponent(id)) == folded) {
                matches.push_back(&entry);
            }
        }
        if (auto app = unique(matches)) {
            return app;
        }
    }

    if (identity.executablePath) {
        if (const auto executable = realPath(*identity.executablePath)) {
            std::vector<const Indexed*> matches;
            for (const auto& [id, entry] : entries) {
                if (std::find(entry.executables.begin(), entry.executables.end(), *executable) !=
                    entry.executables.end()) {
                    matches.push_back(&entry);
                }
            }
            return unique(matches);
        }
    }
    return std::nullopt;
}

ApplicationIdentities XdgApplicationDirectory::identities(std::string_view desktopId) const {
    const auto& entries = index();
    ApplicationIdentities identities{.desktopId = std::string(desktopId)};
    const auto add = [](std::vector<std::string>& values, const std::string& value) {
        if (std::find(values.begin(), values.end(), value) == values.end()) {
            values.push_back(value);
        }
    };
    std::vector<const Indexed*> own;
    if (const auto found = entries.find(desktopId); found != entries.end()) {
        own.push_back(&found->second);
    }
    for (auto [it, end] = shadowed_.equal_range(desktopId); it != end; ++it) {
        own.push_back(&it->second);
    }
    for (const Indexed* entry : own) {
        if (entry->startupWmClass && !entry->startupWmClass->empty()) {
            add(identities.windowClasses, *entry->startupWmClass);
        }
        for (const std::string& executable : entry->executables) {
            const bool runByAnother =
                std::any_of(entries.begin(), entries.end(), [&](const auto& other) {
                    return other.first != desktopId &&
                           std::find(other.second.executables.begin(),
                                     other.second.executables.end(),
                                     executable) != other.second.executables.end();
                });
            if (!runByAnother) {
                add(identities.executables, executable);
            }
        }
    }
    const std::string lastPart(lastComponent(desktopId));
    if (lastPart != desktopId) {
        const auto named = applicationForWindow({.wmClassClass = lastPart});
        if (named && named->desktopId == desktopId) {
            add(identities.windowClasses, lastPart);
        }
    }
    return identities;
}

std::optional<DesktopApplication>
XdgApplicationDirectory::unique(const std::vector<const Indexed*>& matches) {
    if (matches.size() != 1) {
        return std::nullopt;
    }
    return matches.front()->application;
}

const XdgApplicationDirectory::Index& XdgApplicationDirectory::index() const {
    if (!built_ || directoriesChanged()) {
        rebuild();
    }
    return index_;
}

bool XdgApplicationDirectory::directoriesChanged() const {
    return std::any_of(snapshot_.begin(), snapshot_.end(), [](const auto& dir) {
        return !sameTime(modificationTime(dir.first), dir.second);
    });
}

void XdgApplicationDirectory::rebuild() const {
    index_.clear();
    shadowed_.clear();
    snapshot_.clear();
    std::set<std::string> seen;
    for (const auto& root : applicationDirs_) {
        scan(root, root, seen, 0);
    }
    built_ = true;
}

void XdgApplicationDirectory::scan(const std::string& root, const std::string& dir,
                                   std::set<std::string>& seen, int depth) const {
    // Taken before reading, so a change made during the scan shows at the next lookup.
    snapshot_.emplace(dir, modificationTime(dir));
    for (const auto& name : sortedNames(dir)) {
        const std::string path = dir + "/" + name;
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            continue;
        }
        if (S_ISDIR(info.st_mode)) {
            if (depth < kDeepestSubdirectory) {
                scan(root, path, seen, depth + 1);
            }
            continue;
        }
        if (!S_ISREG(info.st_mode) || !std::string_view(name).ends_with(kSuffix)) {
            continue;
        }
        std::string id = desktopFileId(std::string_view(path).substr(root.size() + 1));
        // A first entry that is hidden removes the ID; what the ones it shadows name stays
        // known for protection all the same.
        const bool first = seen.insert(id).second;
        if (auto indexed = load(id, path); indexed && first) {
            index_.emplace(std::move(id), std::move(*indexed));
        } else if (indexed) {
            shadowed_.emplace(std::move(id), std::move(*indexed));
        }
    }
}

std::optional<XdgApplicationDirectory::Indexed>
XdgApplicationDirectory::load(const std::string& id, const std::string& path) const {
    const auto entry = DesktopEntry::load(path);
    if (!entry || !entry->isApplication()) {
        return std::nullopt;
    }
    Indexed indexed{
        .application = {.desktopId = id,
                        .path = path,
                        .name = entry->localized("Name", locale_),
                        .icon = entry->value("Icon")},
        .startupWmClass = entry->value("StartupWMClass"),
        .executables = {},
    };
    for (const auto& program : {entry->value("TryExec"), entry->execProgram()}) {
        if (program) {
            if (auto resolved = resolveProgram(*program)) {
                indexed.executables.push_back(std::move(*resolved));
            }
        }
    }
    return indexed;
}

} // namespace velmora
