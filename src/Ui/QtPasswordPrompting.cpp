#include "Ui/QtPasswordPrompting.hpp"

#include "Ui/QmlEngineSetup.hpp"
#include "Ui/QtPasswordPrompt.hpp"
#include "Ui/QtPasswordPromptField.hpp"

#include <QQmlEngine>

namespace velmora {

QtPasswordPrompting::QtPasswordPrompting() : engine_(std::make_shared<QQmlEngine>()) {
    QtPasswordPromptField::registerType();
    prepareQmlEngine(*engine_);
}

std::unique_ptr<PasswordPrompt> QtPasswordPrompting::open(const std::string& reason) {
    return std::make_unique<QtPasswordPrompt>(engine_, reason);
}

} // namespace velmora
