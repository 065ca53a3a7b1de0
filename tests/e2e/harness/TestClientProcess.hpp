#pragma once

#include "X11Testing/ChildProcess.hpp"
#include "harness/Command.hpp"
#include "harness/Image.hpp"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::e2e {

/// One running velmora-test-client.
class TestClientProcess {
public:
    struct Options {
        Rgb color = Rgb::fromHex(0xff00ff);
        std::string appId = "org.velmora.TestClient";
        std::string wmInstance = "velmora-test-client";
        std::string wmClass = "VelmoraTestClient";
        std::string geometry = "480x360+300+200";
        int windows = 1;
        bool popup = false;
        bool transient = false;
        /// On Wayland: one more window, this long after the start.
        std::optional<std::chrono::milliseconds> openWindowAfter{};
    };

    /// The program, as built beside the tests.
    [[nodiscard]] static std::filesystem::path program();

    /// Starts the client; its log and ready files live in `directory`, named after `name`.
    TestClientProcess(const std::filesystem::path& directory, const std::string& name,
                      const Options& options, const Environment& environment);

    [[nodiscard]] int pid() const { return process_->pid(); }
    /// Waits until all its windows are mapped.
    bool waitUntilReady(std::chrono::milliseconds timeout = std::chrono::seconds{10}) const;
    /// The lines it logged: "key <keycode>" and "button <n> window <i>".
    [[nodiscard]] std::vector<std::string> logLines() const;
    /// How many logged lines start with `prefix` ("key ", "button ").
    [[nodiscard]] std::size_t countLines(std::string_view prefix) const;

private:
    std::filesystem::path logPath_;
    std::filesystem::path readyPath_;
    std::unique_ptr<testing::ChildProcess> process_;
};

} // namespace velmora::e2e
