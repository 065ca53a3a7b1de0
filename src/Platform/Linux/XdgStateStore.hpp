#pragma once

#include "Platform/StateStore.hpp"

#include <string>

namespace velmora {

/// The program's own state as files in one folder, `$XDG_STATE_HOME/velmora` by default:
/// the folder is made 0700 and each file is written atomically with mode 0600.
///
///     XdgStateStore store(XdgStateStore::defaultDirectory());
///     store.write("protected-apps.json", text);
///
/// Names are plain file names; one with a '/' or that starts with a dot is refused.
class XdgStateStore final : public StateStore {
public:
    explicit XdgStateStore(std::string directory);

    /// `$XDG_STATE_HOME/velmora`, or `~/.local/state/velmora`.
    [[nodiscard]] static std::string defaultDirectory();

    [[nodiscard]] std::optional<std::string> read(std::string_view name) const override;
    bool write(std::string_view name, std::string_view contents) override;

private:
    std::string directory_;
};

} // namespace velmora
