#include "harness/TestClientProcess.hpp"

#include "Support/TemporaryDirectory.hpp"
#include "harness/Eventually.hpp"

#include <algorithm>
#include <cstdio>

namespace velmora::e2e {

std::filesystem::path TestClientProcess::program() {
    return VELMORA_TEST_CLIENT;
}

TestClientProcess::TestClientProcess(const std::filesystem::path& directory,
                                     const std::string& name, const Options& options,
                                     const Environment& environment)
    : logPath_(directory / (name + ".log")), readyPath_(directory / (name + ".ready")) {
    char color[7];
    std::snprintf(color, sizeof color, "%02x%02x%02x", options.color.red, options.color.green,
                  options.color.blue);
    std::vector<std::string> argv{program().string(), "--title", name, "--color", color};
    argv.insert(argv.end(), {"--wm-class", options.wmInstance + "," + options.wmClass});
    argv.insert(argv.end(), {"--app-id", options.appId, "--geometry", options.geometry});
    argv.insert(argv.end(), {"--windows", std::to_string(options.windows)});
    argv.insert(argv.end(), {"--log", logPath_.string(), "--ready-file", readyPath_.string()});
    if (options.transient) {
        argv.emplace_back("--transient");
    }
    if (options.popup) {
        argv.emplace_back("--popup");
    }
    if (options.openWindowAfter) {
        argv.emplace_back("--open-window-after");
        argv.push_back(std::to_string(options.openWindowAfter->count()));
    }
    process_ = std::make_unique<testing::ChildProcess>(std::move(argv), environment);
}

bool TestClientProcess::waitUntilReady(std::chrono::milliseconds timeout) const {
    return eventually([&] { return std::filesystem::exists(readyPath_); }, timeout);
}

std::vector<std::string> TestClientProcess::logLines() const {
    return testing::readLines(logPath_);
}

std::size_t TestClientProcess::countLines(std::string_view prefix) const {
    const auto lines = logLines();
    return static_cast<std::size_t>(
        std::count_if(lines.begin(), lines.end(),
                      [&](const std::string& line) { return line.starts_with(prefix); }));
}

} // namespace velmora::e2e
