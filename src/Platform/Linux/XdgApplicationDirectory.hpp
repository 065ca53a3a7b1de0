#pragma once

#include "Platform/Linux/ApplicationDirectory.hpp"
#include "Platform/Linux/DesktopEntry.hpp"

#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora {

/// The installed applications: the desktop entries under the XDG applications directories.
///
///     XdgApplicationDirectory directory(XdgDirectories::applicationDirs(),
///                                       DesktopLocale::fromEnvironment());
///     auto app = directory.applicationForWindow(identity);
///
/// Directories are searched recursively; an entry's desktop-file ID is its path below the
/// applications directory with '/' turned into '-', and an earlier directory wins over a
/// later one for the same ID, even when its entry is `Hidden=true` (which removes the ID).
/// Entries other than `Type=Application` are left out.
///
/// The index is kept between lookups and rebuilt only when one of the directories scanned
/// (or one that was missing) changed its modification time, so a lookup costs a few `stat`
/// calls. An entry edited in place without a rename is therefore seen at the next change of
/// its directory.
///
/// Beyond exact names, a window's class or instance name may also
/// equal the last dot-separated part of a desktop ID ("dolphin" for "org.kde.dolphin"), and
/// the executable may match an entry's `TryExec` or the program of its `Exec` (found
/// through PATH, compared as real paths). Both are used only when exactly one entry
/// matches, so an interpreter such as python3 names no application.
class XdgApplicationDirectory final : public ApplicationDirectory {
public:
    XdgApplicationDirectory(std::vector<std::string> applicationDirs, DesktopLocale locale);

    [[nodiscard]] std::optional<DesktopApplication>
    applicationForWindow(const WindowIdentity& identity) const override;
    [[nodiscard]] std::optional<DesktopApplication>
    application(std::string_view desktopId) const override;
    [[nodiscard]] ApplicationIdentities identities(std::string_view desktopId) const override;

private:
    struct Indexed {
        DesktopApplication application;
        std::optional<std::string> startupWmClass;
        /// Real paths of the programs `TryExec` and `Exec` name.
        std::vector<std::string> executables;
    };
    using Index = std::map<std::string, Indexed, std::less<>>;
    /// Entries that a first one with the same ID shadows or hides, by that ID.
    using Shadowed = std::multimap<std::string, Indexed, std::less<>>;
    /// Modification time of every directory scanned; missing ones as {-1, 0}.
    using Snapshot = std::map<std::string, std::timespec>;

    /// The index, rebuilt first if a directory changed: look it up once per call.
    const Index& index() const;
    [[nodiscard]] static std::optional<DesktopApplication> find(const Index& entries,
                                                                std::string_view desktopId);
    [[nodiscard]] bool directoriesChanged() const;
    void rebuild() const;
    void scan(const std::string& root, const std::string& dir, std::set<std::string>& seen,
              int depth) const;
    [[nodiscard]] std::optional<Indexed> load(const std::string& id, const std::string& path) const;
    [[nodiscard]] static std::optional<DesktopApplication>
    unique(const std::vector<const Indexed*>& matches);

    std::vector<std::string> applicationDirs_;
    DesktopLocale locale_;
    mutable Index index_;
    mutable Shadowed shadowed_;
    mutable Snapshot snapshot_;
    mutable bool built_ = false;
};

} // namespace velmora
