#pragma once

#include "Platform/StateStore.hpp"

#include <map>
#include <string>

namespace velmora {

/// The program's own state held in memory; a test can make writes fail, as on a full disk.
///
///     SimStateStore store;
///     store.refusesWrites = true;   // later writes fail and keep what was there
class SimStateStore final : public StateStore {
public:
    [[nodiscard]] std::optional<std::string> read(std::string_view name) const override {
        const auto found = files.find(name);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    bool write(std::string_view name, std::string_view contents) override {
        if (refusesWrites) {
            return false;
        }
        files.insert_or_assign(std::string(name), std::string(contents));
        return true;
    }

    std::map<std::string, std::string, std::less<>> files;
    bool refusesWrites = false;
};

} // namespace velmora
