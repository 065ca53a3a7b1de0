#pragma once

#include "Platform/StateStore.hpp"

namespace velmora {

/// The program's own state as files in "~/Library/Application Support/Velmora", the per-user
/// folder of a program outside the sandbox (where its log folder is too): the folder is made
/// for this account alone and each file is written atomically with mode 0600. Without a home
/// nothing is kept.
class MacStateStore final : public StateStore {
public:
    [[nodiscard]] std::optional<std::string> read(std::string_view name) const override;
    bool write(std::string_view name, std::string_view contents) override;
};

} // namespace velmora
