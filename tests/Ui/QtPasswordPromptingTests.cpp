#include "Ui/QtPasswordPrompt.hpp"
#include "Ui/QtPasswordPrompting.hpp"

#include <QQuickItem>
#include <QQuickView>
#include <QTest>
#include <gtest/gtest.h>

namespace velmora {
namespace {

// Types `text` one key at a time into the window's focused item.
void type(QWindow* window, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, window, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct PasswordPromptWindow : ::testing::Test {
    QtPasswordPrompting prompts;
    std::unique_ptr<PasswordPrompt> prompt = prompts.open("Unlock Notes");
    int replies = 0;
    std::optional<std::string> password;

    QQuickView& view() const { return static_cast<QtPasswordPrompt&>(*prompt).view(); }
    QQuickItem* item(const char* name) const {
        auto* found = view().rootObject()->findChild<QQuickItem*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* name) const { return item(name)->property("text").toString(); }
    int typedLength() const { return item("passwordField")->property("length").toInt(); }

    void request(const std::string& message = "") {
        prompt->requestPassword(message, [this](std::optional<SecretBuffer> typed) {
            ++replies;
            password = typed ? std::optional(std::string(typed->view())) : std::nullopt;
        });
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view()));
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view()));
    }
    void clickButton(const char* name) {
        QQuickItem* button = item(name);
        const QPoint centre = button->mapToScene(button->boundingRect().center()).toPoint();
        QTest::mouseClick(&view(), Qt::LeftButton, {}, centre);
    }
};

TEST_F(PasswordPromptWindow, EnterSubmitsTheTypedPasswordAndEmptiesTheField) {
    request();
    EXPECT_EQ(text("reason").toStdString(), "Unlock Notes");
    type(&view(), QStringLiteral("hunter2ü"));
    QTest::keyClick(&view(), Qt::Key_Backspace);
    // Masked on screen, and in no property a binding could copy.
    const QString shown = item("passwordField")->property("displayText").toString();
    EXPECT_EQ(shown.size(), 7);
    EXPECT_FALSE(shown.contains(QLatin1Char('h')));
    EXPECT_FALSE(item("passwordField")->property("text").isValid());
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_EQ(typedLength(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return replies == 1; }, 2000));
    EXPECT_EQ(password, "hunter2");

    // A wrong password: asked again with a message, and the field takes the next one.
    request("Wrong password. Try again.");
    EXPECT_EQ(text("message").toStdString(), "Wrong password. Try again.");
    // Long enough for the field to grow its storage twice.
    const QString longPassword = QStringLiteral("ünïcode pw ").repeated(12);
    type(&view(), longPassword);
    clickButton("unlockButton");
    EXPECT_TRUE(QTest::qWaitFor([&] { return replies == 2; }, 2000));
    EXPECT_EQ(password, longPassword.toStdString());
}

TEST_F(PasswordPromptWindow, EscapeCancelAndClosingReplyNothing) {
    const std::vector<std::pair<const char*, std::function<void(PasswordPromptWindow&)>>> rows{
        {"Escape", [](PasswordPromptWindow& t) { QTest::keyClick(&t.view(), Qt::Key_Escape); }},
        {"Cancel", [](PasswordPromptWindow& t) { t.clickButton("cancelButton"); }},
        {"closed", [](PasswordPromptWindow& t) { t.view().close(); }},
    };
    for (const auto& [how, act] : rows) {
        SCOPED_TRACE(how);
        replies = 0;
        password = "not cancelled";
        request();
        type(&view(), QStringLiteral("typed"));
        act(*this);
        EXPECT_TRUE(QTest::qWaitFor([&] { return replies == 1; }, 2000));
        EXPECT_EQ(password, std::nullopt);
    }
}

TEST_F(PasswordPromptWindow, NothingIsSubmittedWhileBusyOrEmpty) {
    request();
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_FALSE(item("unlockButton")->isEnabled());

    type(&view(), QStringLiteral("secret"));
    prompt->setBusy(true);
    for (const char* name : {"passwordField", "unlockButton"}) {
        EXPECT_FALSE(item(name)->isEnabled()) << name;
    }
    QTest::keyClick(&view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(replies, 0);

    prompt->setBusy(false);
    EXPECT_TRUE(item("unlockButton")->isEnabled());
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return replies == 1; }, 2000));
    EXPECT_EQ(password, "secret");
}

// As when a password manager's keyboard starts typing: the window inactive for a moment.
TEST_F(PasswordPromptWindow, KeysSentWhileTheWindowHasNoFocusedItemStillReachTheField) {
    request();
    QWindow other;
    other.show();
    other.requestActivate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view().activeFocusItem() == nullptr; }, 2000));
    type(&view(), QStringLiteral("pw"));
    QTest::keyClick(&view(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return replies == 1; }, 2000));
    EXPECT_EQ(password, "pw");
}

TEST_F(PasswordPromptWindow, ANewRequestCancelsTheOneWaiting) {
    request();
    type(&view(), QStringLiteral("half-typed"));
    request("Try again.");
    EXPECT_EQ(typedLength(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return replies == 1; }, 2000));
    EXPECT_EQ(password, std::nullopt);
}

TEST_F(PasswordPromptWindow, NoReplyAfterThePromptIsGone) {
    request();
    view().close();
    prompt.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(replies, 0);
}

} // namespace
} // namespace velmora
