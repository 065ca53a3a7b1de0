#pragma once

#include "Platform/ApplicationPicker.hpp"

#include <QFileDialog>
#include <QPointer>
#include <QString>

namespace velmora {

/// "Add App" on Linux: a file dialog over desktop entries, opened in the system's
/// applications folder, that leaves the caller's event loop running.
///
///     QtApplicationPicker picker(QtApplicationPicker::defaultDirectory());
///     picker.pickApplication([](const std::optional<std::string>& path) { ... });
///
/// A second request while the dialog is open cancels the first; a picker destroyed with its
/// dialog open closes it without answering.
class QtApplicationPicker final : public ApplicationPicker {
public:
    explicit QtApplicationPicker(QString directory);
    ~QtApplicationPicker() override;
    QtApplicationPicker(const QtApplicationPicker&) = delete;
    QtApplicationPicker& operator=(const QtApplicationPicker&) = delete;

    /// The first `applications` folder of the system's XDG data directories that holds
    /// desktop entries, else /usr/share/applications.
    [[nodiscard]] static QString defaultDirectory();

    void pickApplication(Completion completion) override;

    /// The open dialog, for tests.
    [[nodiscard]] QFileDialog* dialog() const { return dialog_; }

private:
    QString directory_;
    QPointer<QFileDialog> dialog_;
};

} // namespace velmora
