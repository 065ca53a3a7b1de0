#pragma once

#include "Platform/Linux/PasswordPrompting.hpp"
#include "Ui/QmlEngineSource.hpp"

#include <memory>

namespace velmora {

/// Opens Velmora's own password prompt windows; the engine they share lives while one does.
///
///     auto prompts = std::make_shared<QtPasswordPrompting>();
///     auto prompt = prompts->open("Unlock Notes");
class QtPasswordPrompting final : public PasswordPrompting {
public:
    QtPasswordPrompting();

    [[nodiscard]] std::unique_ptr<PasswordPrompt> open(const std::string& reason) override;

private:
    QmlEngineSource engines_;
};

} // namespace velmora
