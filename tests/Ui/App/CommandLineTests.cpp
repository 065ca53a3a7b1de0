#include "CommandLine.hpp"
#include "DisplayEnvironment.hpp"

#include <gtest/gtest.h>

namespace velmora {
namespace {

TEST(CommandLine, ReadsTheOptions) {
    using Action = CommandLine::Action;
    const std::vector<std::pair<std::vector<std::string>, Action>> rows{
        {{}, Action::run},
        {{"--help"}, Action::help},
        {{"-h"}, Action::help},
        {{"--version"}, Action::version},
        {{"-v"}, Action::version},
        {{"--lock"}, Action::invalid},
        {{"notes"}, Action::invalid},
        {{"--help", "--version"}, Action::invalid},
    };
    for (const auto& [arguments, action] : rows) {
        const CommandLine command = CommandLine::parse(arguments);
        EXPECT_EQ(command.action, action) << ::testing::PrintToString(arguments);
        EXPECT_EQ(command.error.empty(), action != Action::invalid);
    }
    EXPECT_STREQ(CommandLine::versionText, "velmora 1.0.0");
}

TEST(DisplayEnvironment, RunsOnlyWithAnXServer) {
    struct Row {
        const char* display;
        const char* wayland;
        bool error;
        bool warning;
    };
    const Row rows[] = {
        {":0", nullptr, false, false},    {":0", "", false, false},
        {":0", "wayland-0", false, true}, {nullptr, "wayland-0", true, false},
        {"", "wayland-0", true, false},   {nullptr, nullptr, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << (row.display ? row.display : "(unset)") << " "
                                          << (row.wayland ? row.wayland : "(unset)"));
        const DisplayEnvironment check = DisplayEnvironment::check(row.display, row.wayland);
        EXPECT_EQ(check.error.has_value(), row.error);
        EXPECT_EQ(check.warning.has_value(), row.warning);
    }
    EXPECT_NE(DisplayEnvironment::check(":0", "wayland-0").warning->find("Wayland windows"),
              std::string::npos);
}

} // namespace
} // namespace velmora
