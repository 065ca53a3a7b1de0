#pragma once

#include "Platform/Linux/PasswordPrompting.hpp"
#include "Ui/QmlEngineSource.hpp"
#include "Ui/QtPasswordPrompt.hpp"

#include <memory>

namespace velmora {

/// Opens Velmora's own password prompt windows; the engine they share lives while one does.
///
///     auto prompts = std::make_shared<QtPasswordPrompting>();
///     auto prompt = prompts->open("Unlock Notes");
class QtPasswordPrompting final : public PasswordPrompting {
public:
    QtPasswordPrompting();

    /// How later prompts take the focus, e.g. together with letting go of a keyboard grab.
    void setFocusGiver(QtPasswordPrompt::FocusGiver giveFocus) {
        giveFocus_ = std::move(giveFocus);
    }

    [[nodiscard]] std::unique_ptr<PasswordPrompt> open(const std::string& reason) override;

private:
    QmlEngineSource engines_;
    QtPasswordPrompt::FocusGiver giveFocus_;
};

} // namespace velmora
