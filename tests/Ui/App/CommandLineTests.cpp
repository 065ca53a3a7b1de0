#include "CommandLine.hpp"
#include "DisplayEnvironment.hpp"

#include <gtest/gtest.h>
#include <optional>

namespace velmora {
namespace {

TEST(CommandLine, ReadsTheOptions) {
    using Action = CommandLine::Action;
    const std::vector<std::pair<std::vector<std::string>, Action>> rows{
        {{}, Action::run},
        {{"--help"}, Action::help},
        {{"--version"}, Action::version},
        {{"--lock"}, Action::invalid},
        {{"notes"}, Action::invalid},
        {{"--help", "--version"}, Action::invalid},
    };
    for (const auto& [arguments, action] : rows) {
        const CommandLine command = CommandLine::parse(arguments);
        EXPECT_EQ(command.action, action) << ::testing::PrintToString(arguments);
        EXPECT_EQ(command.error.empty(), action != Action::invalid);
    }
}

TEST(DisplayEnvironment, ChoosesTheDesktopOrRefuses) {
    using Desktop = DisplayEnvironment::Desktop;
    struct Row {
        const char* display;
        const char* wayland;
        const char* desktop;
        std::optional<Desktop> chosen;
        const char* sway = nullptr;
    };
    const Row rows[] = {
        {":0", nullptr, nullptr, Desktop::x11},
        {":0", "", "GNOME", Desktop::x11},
        {":0", "wayland-0", "KDE", Desktop::kdeWayland},
        {nullptr, "wayland-0", "kde", Desktop::kdeWayland},
        {nullptr, "wayland-1", "sway", Desktop::sway, "/run/user/1000/sway-ipc.sock"},
        {nullptr, "wayland-1", "sway", std::nullopt, ""},
        {nullptr, nullptr, "sway", std::nullopt, "/run/user/1000/sway-ipc.sock"},
        {":0", "wayland-0", "GNOME", std::nullopt},
        {nullptr, "wayland-0", nullptr, std::nullopt},
        {nullptr, nullptr, nullptr, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << (row.display ? row.display : "(unset)") << " "
                                          << (row.wayland ? row.wayland : "(unset)") << " "
                                          << (row.desktop ? row.desktop : "(unset)"));
        const auto check =
            DisplayEnvironment::check(row.display, row.wayland, row.desktop, row.sway);
        EXPECT_EQ(check.error.has_value(), !row.chosen.has_value());
        if (row.chosen) {
            EXPECT_EQ(check.desktop, *row.chosen);
        }
    }
}

} // namespace
} // namespace velmora
