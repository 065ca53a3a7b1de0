#include "Ui/QtAlertPresenter.hpp"
#include "Ui/QtApplicationPicker.hpp"
#include "Ui/QtPasteboard.hpp"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace velmora {
namespace {

struct ApplicationPickerDialog : ::testing::Test {
    QTemporaryDir applications;
    QtApplicationPicker picker{applications.path()};
    std::vector<std::optional<std::string>> answers;

    void pick() {
        picker.pickApplication([this](const auto& path) { answers.push_back(path); });
    }
};

TEST_F(ApplicationPickerDialog, AnswersOnceWithTheChoiceOrNothing) {
    const QString entry = applications.filePath(QStringLiteral("org.example.Notes.desktop"));
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    pick();
    // Renaming or deleting files from it would be a way around the lock.
    EXPECT_TRUE(picker.dialog()->testOption(QFileDialog::ReadOnly));
    picker.dialog()->selectFile(entry);
    // Public on QDialog; the file dialog's own accept checks the choice exists.
    static_cast<QDialog*>(picker.dialog())->accept();
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.size() == std::size_t{1}; }, 2000));
    EXPECT_EQ(answers[0], entry.toStdString());

    pick();
    picker.dialog()->reject();
    // A request left open is cancelled by the next one.
    pick();
    pick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.size() == std::size_t{3}; }, 2000));
    EXPECT_EQ(answers[1], std::nullopt);
    EXPECT_EQ(answers[2], std::nullopt);
    picker.dialog()->reject();
    EXPECT_TRUE(QTest::qWaitFor([&] { return answers.size() == std::size_t{4}; }, 2000));
    // Closed dialogs go without answering again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_EQ(answers.size(), 4u);
}

TEST(QtAlertPresenter, WarnsUntilOkIsPressed) {
    QString text;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        box->buttons().first()->click();
    });
    QtAlertPresenter().showWarning("Invalid Application", "Could not read bundle information.");
    EXPECT_EQ(text, QStringLiteral("Invalid Application"));
}

TEST(QtPasteboard, HoldsTheTextForOtherPrograms) {
    QtPasteboard pasteboard;
    pasteboard.clearContents();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
    EXPECT_TRUE(pasteboard.setString("Bundle ID: com.tovren.velmora\nExecutable: /usr/bin/ü"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Bundle ID: com.tovren.velmora\nExecutable: /usr/bin/ü"));
}

} // namespace
} // namespace velmora
