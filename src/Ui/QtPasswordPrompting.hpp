#pragma once

#include "Platform/Linux/PasswordPrompting.hpp"

#include <memory>

class QQmlEngine;

namespace velmora {

/// Opens Velmora's own password prompt windows; they share one QML engine.
///
///     auto prompts = std::make_shared<QtPasswordPrompting>();
///     auto prompt = prompts->open("Unlock Notes");
class QtPasswordPrompting final : public PasswordPrompting {
public:
    QtPasswordPrompting();

    [[nodiscard]] std::unique_ptr<PasswordPrompt> open(const std::string& reason) override;

private:
    std::shared_ptr<QQmlEngine> engine_;
};

} // namespace velmora
