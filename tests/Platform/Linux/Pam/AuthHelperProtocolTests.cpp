#include "Platform/Linux/AuthHelperProtocol.hpp"

#include <gtest/gtest.h>

namespace velmora::authhelper {
namespace {

using Kind = HelperMessageKind;

struct LineCase {
    HelperMessage message;
    std::string line;
};

TEST(AuthHelperProtocol, HelperMessagesTravelAsOneLineAndComeBackUnchanged) {
    const LineCase cases[] = {
        {HelperMessage::withText(Kind::promptHidden, "Password: "), "prompt-hidden Password: \n"},
        {HelperMessage::withText(Kind::promptVisible, ""), "prompt-visible \n"},
        {HelperMessage::withText(Kind::info, "two\nlines"), "info two\\nlines\n"},
        {HelperMessage::withText(Kind::error, "a\\b\tc"), "error a\\\\b\tc\n"},
        {HelperMessage::retry(7), "retry 7\n"},
        {HelperMessage::finished(HelperResult::success), "result success\n"},
        {HelperMessage::finished(HelperResult::failed, 9), "result failed 9\n"},
        {HelperMessage::finished(HelperResult::cancelled), "result cancelled\n"},
        {HelperMessage::finished(HelperResult::unavailable), "result unavailable\n"},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(encodeHelperMessage(c.message), c.line);
        std::string_view withoutBreak(c.line);
        withoutBreak.remove_suffix(1);
        EXPECT_EQ(decodeHelperMessage(withoutBreak), c.message);
    }
}

TEST(AuthHelperProtocol, ControlCharactersInPamTextsCannotBreakTheLine) {
    EXPECT_EQ(encodeHelperMessage(HelperMessage::withText(Kind::info, "a\rb\x1b[2Jc\x7f")),
              "info a b [2Jc \n");
}

TEST(AuthHelperProtocol, AnythingElseFromTheHelperIsRejected) {
    const std::string_view lines[] = {
        "",
        "prompt-hidden",
        "hello world",
        "info bad\\tescape",
        std::string_view("info raw\rreturn"),
        "retry x",
        "retry 07",
        "retry 7 more",
        "result success now",
        "result failed x",
        "result  success",
    };
    for (const std::string_view line : lines) {
        EXPECT_FALSE(decodeHelperMessage(line)) << line;
    }
}

struct PasswordCase {
    std::string password;
    std::optional<std::string> answer;
};

TEST(AuthHelperProtocol, PasswordsAreSentLengthPrefixedAndAnyByteButNulPasses) {
    const PasswordCase cases[] = {
        {"secret", "password 6\nsecret\n"},
        {"", "password 0\n\n"},
        {"line\nbreak", "password 10\nline\nbreak\n"},
        {"cancel\n", "password 7\ncancel\n\n"},
        {"\xff\x01 ", "password 3\n\xff\x01 \n"},
        {std::string(kMaxSecretSize, 'x'),
         "password 4096\n" + std::string(kMaxSecretSize, 'x') + "\n"},
        {std::string("nul\0inside", 10), std::nullopt},
        {std::string(kMaxSecretSize + 1, 'x'), std::nullopt},
    };
    for (const PasswordCase& c : cases) {
        const auto encoded = encodePassword(c.password);
        ASSERT_EQ(encoded.has_value(), c.answer.has_value()) << c.password.size();
        if (encoded) {
            EXPECT_EQ(encoded->view(), *c.answer);
        }
    }
}

struct HeaderCase {
    std::string_view line;
    std::optional<AnswerHeader> header;
};

TEST(AuthHelperProtocol, TheHelperAcceptsOnlyWellFormedAnswerHeaders) {
    const HeaderCase cases[] = {
        {"cancel", AnswerHeader{true, 0}},
        {"password 6", AnswerHeader{false, 6}},
        {"password 4096", AnswerHeader{false, 4096}},
        {"password 4097", std::nullopt},
        {"password 99999999999999999999999", std::nullopt},
        {"password ", std::nullopt},
        {"password 6x", std::nullopt},
        {"password 06", std::nullopt},
        {"secret", std::nullopt},
    };
    for (const HeaderCase& c : cases) {
        EXPECT_EQ(decodeAnswerHeader(c.line), c.header) << c.line;
    }
}

} // namespace
} // namespace velmora::authhelper
