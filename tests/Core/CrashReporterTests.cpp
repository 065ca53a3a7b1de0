#include "Core/CrashReporter.hpp"
#include "Core/LogFileTesting.hpp"
#include "Support/ManualRunLoop.hpp"

#include <algorithm>
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

/// The lines of the report that starts at the first line after `title`'s log line prefix.
std::vector<std::string> reportAfter(const std::vector<std::string>& lines,
                                     const std::string& title) {
    const auto at = std::find(lines.begin(), lines.end(), title);
    return at == lines.end() ? std::vector<std::string>{}
                             : std::vector<std::string>(at, lines.end());
}

int crashDepth(int depth) {
    volatile char frame[1024];
    frame[0] = static_cast<char>(depth);
    return depth < 0 ? 0 : crashDepth(depth + 1) + frame[0];
}

void writeToNullPage() {
    *reinterpret_cast<volatile int*>(16) = 1;
}

class CrashReporterTest : public ::testing::Test {
protected:
    [[nodiscard]] std::vector<std::string> logLines() const {
        return readLines(logFileIn(directory.path()));
    }

    /// Checks the signal report in the log: its log line prefix, its text and a call stack.
    void expectSignalReport(const std::string& name, int number, bool mainThread) const {
        const auto lines = logLines();
        const auto title = warningSign + " FATAL SIGNAL " + warningSign;
        const auto report = reportAfter(lines, title);
        ASSERT_GE(report.size(), 9u) << "no report for " << name;
        const auto prefix = std::find(lines.begin(), lines.end(), title) - 1;
        EXPECT_TRUE(std::regex_match(*prefix, std::regex(R"(\[\d\d:\d\d:\d\d\.\d{3}\] \[FATAL\] )"
                                                         R"(\[CrashReporter\.cpp:\d+\] )"
                                                         R"(handleSignal\(int, const char\*\): )")))
            << *prefix;
        EXPECT_EQ(report[1], "Signal: " + name + " (" + std::to_string(number) + ")");
        EXPECT_TRUE(std::regex_match(report[3], std::regex(R"(Thread: \{tid = \d+, name = .*\})")))
            << report[3];
        EXPECT_EQ(report[4], std::string("Is Main Thread: ") + (mainThread ? "true" : "false"));
        EXPECT_EQ(std::vector<std::string>(report.begin() + 5, report.begin() + 7),
                  (std::vector<std::string>{"", "Call Stack:"}));
        EXPECT_NE(report[7], "");
        EXPECT_EQ(report.back(), "");
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
        {"SIGSEGV", 11, [] { raise(SIGSEGV); }},
        {"SIGBUS", 7, [] { raise(SIGBUS); }},
        {"SIGILL", 4, [] { raise(SIGILL); }},
        {"SIGFPE", 8, [] { raise(SIGFPE); }},
        {"SIGPIPE", 13, [] { raise(SIGPIPE); }},
        {"SIGSEGV", 11, writeToNullPage},
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
        const auto lines = logLines();
        ASSERT_GE(lines.size(), 8u);
        EXPECT_TRUE(lines[4].ends_with("install(): Installing crash reporter")) << lines[4];
        EXPECT_TRUE(lines[5].ends_with("install(): Crash reporter installed")) << lines[5];
        EXPECT_TRUE(lines[6].ends_with(": before the crash")) << lines[6];
        EXPECT_NE(lines[7].find("] [FATAL] ["), std::string::npos) << lines[7];
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
        markerPath = (directory.path() / "marker").string();
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
        const auto report = reportAfter(lines, warningSign + " UNCAUGHT EXCEPTION " + warningSign);
        ASSERT_GE(report.size(), 7u);
        EXPECT_EQ(report[1], std::string("Name: ") + c.name);
        EXPECT_EQ(report[2], std::string("Reason: ") + c.reason);
        EXPECT_EQ(report[3], "User Info: [:]");
        EXPECT_EQ(report[4], "");
        EXPECT_EQ(report[5], "Call Stack:");
        EXPECT_NE(report[6], "");
        // The earlier handler's abort is reported too, after the exception.
        expectSignalReport("SIGABRT", 6, false);
    }
}

TEST_F(CrashReporterTest, AnExceptionReportIsOneFatalLogLineWithTheFullText) {
    struct Case {
        std::optional<std::string> reason;
        const char* reasonLine;
    };
    const Case cases[] = {{"Unlock failed", "Reason: Unlock failed"},
                          {std::nullopt, "Reason: unknown"}};
    for (const Case& c : cases) {
        TemporaryDirectory fresh;
        auto loop = std::make_shared<ManualRunLoop>();
        auto logger = AppLogger::create(fresh.path(), loop, loop, "Test OS");
        CrashReporter reporter(logger);

        reporter.handleException({"std::logic_error", c.reason, {"0 frame zero", "1 frame one"}});

        const auto lines = readLines(logFileIn(fresh.path()));
        const std::vector<std::string> report(lines.begin() + 4, lines.end());
        ASSERT_EQ(report.size(), 10u);
        EXPECT_TRUE(std::regex_match(
            report[0], std::regex(R"(\[\d\d:\d\d:\d\d\.\d{3}\] \[FATAL\] )"
                                  R"(\[CrashReporter\.cpp:\d+\] )"
                                  R"(handleException\(const UncaughtException&\): )")))
            << report[0];
        EXPECT_EQ(
            std::vector<std::string>(report.begin() + 1, report.end()),
            (std::vector<std::string>{warningSign + " UNCAUGHT EXCEPTION " + warningSign,
                                      "Name: std::logic_error", c.reasonLine, "User Info: [:]", "",
                                      "Call Stack:", "0 frame zero", "1 frame one", ""}));
    }
}

} // namespace
} // namespace velmora
