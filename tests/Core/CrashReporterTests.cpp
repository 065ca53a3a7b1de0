#include "Core/CrashReporter.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace velmora {
namespace {

using testing::readLines;
using testing::TemporaryDirectory;

const std::string warningSign = "\u26A0\uFE0F";

/// What a crashing child process sets up before it crashes; kept alive until it dies.
struct InstalledReporter {
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>();
    std::shared_ptr<AppLogger> logger;
    std::unique_ptr<CrashReporter> reporter;

    explicit InstalledReporter(const std::filesystem::path& directory)
        : logger(AppLogger::create(directory, loop, loop, "Test OS")),
          reporter(std::make_unique<CrashReporter>(logger)) {
        const rlimit noCoreFiles{0, 0};
        setrlimit(RLIMIT_CORE, &noCoreFiles);
        reporter->install();
        logger->info("before the crash");
    }
};

std::filesystem::path logFileIn(const std::filesystem::path& directory) {
    return directory / "Brevane-2025-01-01T00-00-00Z.log";
}

int crashDepth(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    return depth < 0 ? 0 : crashDepth(depth + 1) + frame[0];
}

void writeToNullPage() {
    // Read through a volatile, so the compiler neither sees nor warns about the bad address.
    volatile std::uintptr_t address = 16;
    *reinterpret_cast<volatile int*>(address) = 1;
}

class CrashReporterTest : public ::testing::Test {
protected:
    [[nodiscard]] std::vector<std::string> logLines() const {
        return readLines(logFileIn(directory.path()));
    }

    /// Checks the signal report: after the buffered lines, a fatal line with its text and a stack.
    void expectSignalReport(const std::string& name, int number, bool mainThread) const {
        const auto lines = logLines();
        const auto title =
            std::find(lines.begin(), lines.end(), warningSign + " FATAL SIGNAL " + warningSign);
        ASSERT_GE(lines.end() - title, 9) << "no report for " << name;
        ASSERT_GE(title - lines.begin(), 2);
        EXPECT_TRUE(title[-2].ends_with(": before the crash")) << title[-2];
        EXPECT_NE(title[-1].find("] [FATAL] [CrashReporter.cpp:"), std::string::npos) << title[-1];
        EXPECT_EQ(title[1], "Signal: " + name + " (" + std::to_string(number) + ")");
        EXPECT_TRUE(std::regex_match(title[3], std::regex(R"(Thread: \{tid = \d+, name = .*\})")))
            << title[3];
        EXPECT_EQ(title[4], std::string("Is Main Thread: ") + (mainThread ? "true" : "false"));
        EXPECT_EQ(title[6], "Call Stack:");
        EXPECT_NE(title[7], "");
    }

    TemporaryDirectory directory;
};

TEST_F(CrashReporterTest, ReportsEachFatalSignalAfterTheBufferedLinesThenDiesOfIt) {
    struct Case {
        const char* name;
        int number;
        std::function<void()> crash;
        bool mainThread = true;
    };
    const Case cases[] = {
        {"SIGABRT", 6, [] { raise(SIGABRT); }},
        {"SIGSEGV", 11, [] { crashDepth(0); }}, // reported from the alternate stack
        {"SIGSEGV", 11, [] { std::thread(writeToNullPage).join(); }, false},
        {"SIGPIPE", 13,
         [] {
             int ends[2];
             if (pipe(ends) == 0 && close(ends[0]) == 0) {
                 [[maybe_unused]] const auto ignored = write(ends[1], "x", 1);
             }
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " #" << (&c - cases));
        std::filesystem::remove(logFileIn(directory.path()));
        EXPECT_EXIT(
            {
                InstalledReporter installed(directory.path());
                c.crash();
            },
            ::testing::KilledBySignal(c.number), "");

        expectSignalReport(c.name, c.number, c.mainThread);
    }
}

// The terminate handler found at install: leaves a mark, then ends the process.
std::string markerPath;
[[noreturn]] void earlierTerminateHandler() {
    std::ofstream(markerPath) << "earlier handler ran";
    std::abort();
}

TEST_F(CrashReporterTest, AnUncaughtExceptionIsReportedThenTheEarlierHandlerRuns) {
    struct Case {
        std::function<void()> thrower;
        const char* name;
        const char* reason;
    };
    const Case cases[] = {
        {[] { throw std::runtime_error("disk on fire"); }, "std::runtime_error", "disk on fire"},
        {[] { throw 42; }, "int", "unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(logFileIn(directory.path()));
        markerPath = directory.path("marker");
        std::filesystem::remove(markerPath);
        EXPECT_EXIT(
            {
                std::set_terminate(earlierTerminateHandler);
                InstalledReporter installed(directory.path());
                std::thread(c.thrower).join();
            },
            ::testing::KilledBySignal(SIGABRT), "");

        EXPECT_TRUE(std::filesystem::exists(markerPath));
        const auto lines = logLines();
        const auto report = std::find(lines.begin(), lines.end(),
                                      warningSign + " UNCAUGHT EXCEPTION " + warningSign);
        ASSERT_GE(lines.end() - report, 7);
        EXPECT_EQ(std::vector<std::string>(report + 1, report + 6),
                  (std::vector<std::string>{std::string("Name: ") + c.name,
                                            std::string("Reason: ") + c.reason, "User Info: [:]",
                                            "", "Call Stack:"}));
        EXPECT_NE(report[6], "");
        // The earlier handler's abort is reported too, after the exception.
        EXPECT_NE(std::find(report, lines.end(), warningSign + " FATAL SIGNAL " + warningSign),
                  lines.end());
    }
}

} // namespace
} // namespace velmora
