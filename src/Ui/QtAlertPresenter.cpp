#include "Ui/QtAlertPresenter.hpp"

#include "Ui/QtHostApplication.hpp"

#include <QMessageBox>
#include <QWindow>

namespace velmora {

void QtAlertPresenter::showWarning(const std::string& message, const std::string& informativeText) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Velmora"),
                    QString::fromStdString(message), QMessageBox::Ok);
    box.setInformativeText(QString::fromStdString(informativeText));
    box.winId();
    QtHostApplication::setWindowKind(*box.windowHandle(), AppWindowKind::standard);
    box.exec();
}

} // namespace velmora
