#include "Ui/QtPasteboard.hpp"

#include <QClipboard>
#include <QGuiApplication>

namespace velmora {

void QtPasteboard::clearContents() {
    QGuiApplication::clipboard()->clear();
}

bool QtPasteboard::setString(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString value = QString::fromStdString(text);
    clipboard->setText(value);
    // Another client may have refused or taken the selection at once.
    return clipboard->text() == value;
}

} // namespace velmora
