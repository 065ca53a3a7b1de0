#pragma once

#include <string>
#include <vector>

namespace velmora {

/// What the program was asked to do on its command line.
///
///     const CommandLine command = CommandLine::parse({"--version"});
///     if (command.action == CommandLine::Action::version) { puts(CommandLine::versionText); }
struct CommandLine {
    enum class Action { run, help, version, invalid };

    static constexpr const char* versionText = "velmora 1.0.0";
    static constexpr const char* usageText =
        "Usage: velmora [--help] [--version]\n"
        "\n"
        "Keeps chosen applications behind your password: a protected application that comes\n"
        "to the front is covered until you unlock it. Velmora runs in the system tray; start\n"
        "it again to open its settings.\n"
        "\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n";

    Action action = Action::run;
    /// For `invalid`: what was wrong.
    std::string error;

    /// `arguments` without the program name.
    [[nodiscard]] static CommandLine parse(const std::vector<std::string>& arguments);
};

} // namespace velmora
