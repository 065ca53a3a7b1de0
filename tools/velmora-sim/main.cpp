// velmora-sim: runs scenario files against Velmora on a simulated desktop.
//
//     velmora-sim                          the built-in demo, with its timeline
//     velmora-sim [--trace] [--log-dir DIR] FILE...

#include "DemoScenario.hpp"
#include "ScenarioRunner.hpp"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using velmora::scenario::ScenarioRunner;
using velmora::scenario::ScenarioTally;

constexpr const char* kUsage =
    "usage: velmora-sim [--trace] [--log-dir DIR] [FILE...]\n"
    "Runs each scenario FILE against Velmora on a simulated desktop and prints one line per\n"
    "expectation, then \"N passed, M failed\". Without FILE it runs the built-in demo.\n"
    "  --trace         also print the timeline of every command\n"
    "  --log-dir DIR   keep the log files in DIR (by default a temporary directory that is\n"
    "                  removed at the end)\n";

struct Arguments {
    bool trace = false;
    std::optional<fs::path> logDirectory;
    std::vector<std::string> files;
};

/// Nothing when the arguments are wrong; the reason is printed.
std::optional<Arguments> parseArguments(int argc, char** argv) {
    Arguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--trace") {
            arguments.trace = true;
        } else if (argument == "--log-dir" && i + 1 < argc) {
            arguments.logDirectory = argv[++i];
        } else if (argument.starts_with("--log-dir=")) {
            arguments.logDirectory = argument.substr(std::string("--log-dir=").size());
        } else if (argument == "--help" || argument == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (argument.starts_with("-") && argument != "-") {
            std::cerr << "velmora-sim: unknown option " << argument << "\n" << kUsage;
            return std::nullopt;
        } else {
            arguments.files.push_back(argument);
        }
    }
    return arguments;
}

std::optional<std::string> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

/// A fresh directory of the runner's own under the system's temporary directory.
std::optional<fs::path> makeTemporaryDirectory() {
    std::error_code error;
    const fs::path base = fs::temp_directory_path(error);
    if (error) {
        return std::nullopt;
    }
    std::string pattern = (base / "velmora-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        return std::nullopt;
    }
    return fs::path(pattern);
}

} // namespace

int main(int argc, char** argv) {
    const auto arguments = parseArguments(argc, argv);
    if (!arguments) {
        return 2;
    }
    const bool temporary = !arguments->logDirectory;
    const auto logDirectory = temporary ? makeTemporaryDirectory() : arguments->logDirectory;
    if (!logDirectory) {
        std::cerr << "velmora-sim: cannot make a temporary directory for the log files\n";
        return 2;
    }

    ScenarioTally tally;
    {
        const bool demo = arguments->files.empty();
        ScenarioRunner runner({.trace = arguments->trace || demo, .logDirectory = *logDirectory},
                              std::cout);
        if (demo) {
            tally += runner.run("demo", velmora::scenario::demoScenario());
        }
        for (const std::string& file : arguments->files) {
            if (const auto text = readFile(file)) {
                tally += runner.run(file, *text);
            } else {
                std::cout << "not ok " << file << ": cannot read the file\n";
                ++tally.failed;
            }
        }
    }
    velmora::scenario::printSummary(std::cout, tally);

    if (temporary) {
        std::error_code ignored;
        fs::remove_all(*logDirectory, ignored);
    }
    return tally.failed == 0 ? 0 : 1;
}
