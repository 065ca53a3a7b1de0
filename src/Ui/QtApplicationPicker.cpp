#include "Ui/QtApplicationPicker.hpp"

#include "Platform/Linux/XdgDirectories.hpp"
#include "Ui/QtHostApplication.hpp"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QWindow>

namespace velmora {

QtApplicationPicker::QtApplicationPicker(QString directory) : directory_(std::move(directory)) {}

QtApplicationPicker::~QtApplicationPicker() {
    // The platform, and with it the picker, may outlive the application object at exit,
    // when no widget can be deleted any more.
    if (dialog_ && QCoreApplication::instance()) {
        // The caller goes with the picker: nobody is left to answer.
        QObject::disconnect(dialog_, nullptr, nullptr, nullptr);
        delete dialog_;
    }
}

QString QtApplicationPicker::defaultDirectory() {
    // An applications folder may exist with nothing in it (often /usr/local/share's).
    for (const std::string& dir : XdgDirectories::dataDirs()) {
        const QDir applications(QString::fromStdString(dir + "/applications"));
        if (!applications.entryList({QStringLiteral("*.desktop")}, QDir::Files).isEmpty()) {
            return applications.path();
        }
    }
    return QStringLiteral("/usr/share/applications");
}

void QtApplicationPicker::pickApplication(Completion completion) {
    delete dialog_;
    auto* dialog = new QFileDialog(nullptr, QStringLiteral("Select an Application"), directory_,
                                   QStringLiteral("Applications (*.desktop)"));
    dialog_ = dialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    // Qt's own dialog: the desktop's may not honour the starting folder or the filter.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // Only for choosing: renaming or deleting Velmora's own settings from here would be a
    // way around the lock.
    dialog->setOption(QFileDialog::ReadOnly);
    dialog->winId();
    QtHostApplication::setWindowKind(*dialog->windowHandle(), AppWindowKind::openPanel);

    // One answer per request: a dialog closed any way without a choice is a cancel.
    auto pending = std::make_shared<Completion>(std::move(completion));
    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, pending](int result) {
        const QStringList chosen = dialog->selectedFiles();
        std::optional<std::string> path;
        if (result == QDialog::Accepted && !chosen.isEmpty()) {
            path = chosen.first().toStdString();
        }
        if (const Completion reply = std::exchange(*pending, nullptr)) {
            // After the dialog has gone, never inside its own signal.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [reply, path] { reply(path); }, Qt::QueuedConnection);
        }
    });
    QObject::connect(dialog, &QObject::destroyed, [pending] {
        if (const Completion reply = std::exchange(*pending, nullptr)) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [reply] { reply(std::nullopt); },
                Qt::QueuedConnection);
        }
    });
    dialog->open();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace velmora
