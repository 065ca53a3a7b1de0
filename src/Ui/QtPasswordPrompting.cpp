#include "Ui/QtPasswordPrompting.hpp"

#include "Ui/QtPasswordPromptField.hpp"

namespace velmora {

QtPasswordPrompting::QtPasswordPrompting() {
    QtPasswordPromptField::registerType();
}

std::unique_ptr<PasswordPrompt> QtPasswordPrompting::open(const std::string& reason) {
    return std::make_unique<QtPasswordPrompt>(engines_.engine(), reason, giveFocus_);
}

} // namespace velmora
