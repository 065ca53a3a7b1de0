#include "Platform/Linux/GuardProtocol.hpp"

#include <gtest/gtest.h>

namespace velmora::guard {
namespace {

TEST(GuardProtocol, MessagesTravelAsOneLineAndComeBackUnchanged) {
    const std::pair<GuardMessage, std::string> cases[] = {
        {GuardMessage{}, "starting\n"},
        {GuardMessage{GuardMessageKind::quit}, "quit\n"},
        {GuardMessage::watching({}), "watching\n"},
        {GuardMessage::watching({4211, 17, 2147483647}), "watching 4211 17 2147483647\n"},
        {GuardMessage::protecting({}), "protects\n"},
        {GuardMessage::protecting({{"org.a", {"A b", "x=y"}, {"/opt/a%"}}, {"org.c"}}),
         "protects app=org.a class=A%20b class=x%3Dy exe=/opt/a%25 app=org.c\n"},
    };
    for (const auto& [message, line] : cases) {
        SCOPED_TRACE(line);
        EXPECT_EQ(encodeGuardMessage(message), line);
        EXPECT_EQ(decodeGuardMessage(std::string_view(line).substr(0, line.size() - 1)), message);
    }
}

TEST(GuardProtocol, AnythingElseIsRejected) {
    const std::string_view lines[] = {
        "",
        "quit now",
        "watching x",
        "watching 0",
        "watching 12  13",
        "watching 99999999999",
        "watching 12 ",
        "protects class=A",
        "protects app=a%zz",
        "protects app=a bogus=1",
    };
    for (const std::string_view line : lines) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(decodeGuardMessage(line));
    }
}

TEST(GuardProtocol, AWatchListTooLongForOneLineKeepsTheFirstProcesses) {
    const std::vector<ProcessId> many(10000, 1234567);
    const std::string line = encodeGuardMessage(GuardMessage::watching(many));
    ASSERT_LE(line.size(), kMaxGuardLineSize);
    const auto decoded = decodeGuardMessage(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->pids.size(), (kMaxGuardLineSize - 9) / 8);
}

} // namespace
} // namespace velmora::guard
