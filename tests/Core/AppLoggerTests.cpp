#include "Core/AppLogger.hpp"
#include "Platform/Platform.hpp"
#include "Support/ManualRunLoop.hpp"
#include "Support/TemporaryDirectory.hpp"

#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <thread>

namespace velmora {
namespace {

using testing::readFile;
using testing::readLines;
using testing::TemporaryDirectory;

constexpr std::size_t headerLines = 4;

// 2025-03-04T09:15:02.481Z
TimePoint startTime() {
    using namespace std::chrono;
    return sys_days{year{2025} / March / 4} + hours{9} + minutes{15} + seconds{2} +
           milliseconds{481};
}

/// "HH:mm:ss.SSS" of `time` in the local time zone, as log lines show it.
std::string localLineTime(TimePoint time) {
    using namespace std::chrono;
    const std::time_t second = system_clock::to_time_t(floor<seconds>(time));
    std::tm local{};
    localtime_r(&second, &local);
    char text[16];
    std::snprintf(
        text, sizeof text, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min, local.tm_sec,
        static_cast<int>(duration_cast<milliseconds>(time - floor<seconds>(time)).count()));
    return text;
}

class AppLoggerTest : public ::testing::Test {
protected:
    std::shared_ptr<AppLogger> makeLogger(const std::filesystem::path& directory) {
        return AppLogger::create(directory, loop, loop, "Test OS 1.0");
    }

    /// The lines below the header, once everything handed to the writer is written.
    [[nodiscard]] std::vector<std::string> bodyLines() const {
        logger->waitUntilWritten();
        auto lines = readLines(logger->logFileURL());
        lines.erase(lines.begin(), lines.begin() + std::min(headerLines, lines.size()));
        return lines;
    }

    void logNumbered(int count, int from = 0) {
        for (int i = from; i < from + count; ++i) {
            logger->info("line " + std::to_string(i));
        }
    }

    TemporaryDirectory directory;
    std::shared_ptr<ManualRunLoop> loop = std::make_shared<ManualRunLoop>(startTime());
    std::shared_ptr<AppLogger> logger = makeLogger(directory.path());
};

TEST_F(AppLoggerTest, StartsANewFileNamedAfterTheUtcStartWithAFourLineHeader) {
    TemporaryDirectory other;
    const auto second = makeLogger(other.path());
    const std::filesystem::path path = other.path("Brevane-2025-03-04T09-15-02Z.log");

    EXPECT_EQ(second->logFileURL(), path);
    EXPECT_EQ(readFile(path), "=====================================\n"
                              "Brevane Log Started: 2025-03-04 09:15:02 +0000\n"
                              "System: Test OS 1.0\n"
                              "=====================================\n");
    // Written through a temporary file that does not stay behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(other.path()), {}), 1);
}

TEST_F(AppLoggerTest, FormatsLinesWithLocalTimeLevelFileLineAndFunction) {
    logger->log("Overlay shown", LogLevel::warn, "/src/Core/Overlay/OverlayWindow.cpp",
                "show(const std::string&)", 87);
    logger->info("from the test");
    logger->flush();

    const auto lines = bodyLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "[" + localLineTime(startTime()) +
                  "] [WARN] [OverlayWindow.cpp:87] show(const std::string&): Overlay shown");
    EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(\[\d\d:\d\d:\d\d\.\d{3}\] \[INFO\] )"
                                                      R"(\[AppLoggerTests\.cpp:\d+\] )"
                                                      R"(TestBody\(\): from the test)")))
        << lines[1];
}

TEST_F(AppLoggerTest, WritesOutAtTheHundredthBufferedLineAndEverySixtySeconds) {
    logNumbered(99);
    loop->advance(Seconds{59.9});
    EXPECT_TRUE(bodyLines().empty());

    logNumbered(1, 99);
    const auto lines = bodyLines();
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_TRUE(lines.front().ends_with(": line 0"));
    EXPECT_TRUE(lines.back().ends_with(": line 99"));

    logger->info("at the first tick");
    loop->advance(Seconds{0.1});
    EXPECT_EQ(bodyLines().size(), 101u);
    logger->info("at the second");
    loop->advance(Seconds{60});
    EXPECT_EQ(bodyLines().size(), 102u);
}

TEST_F(AppLoggerTest, ErrorAndFatalLinesWriteOutAtOnceWithEverythingBefore) {
    for (const auto& [level, writesOut] :
         {std::pair{LogLevel::debug, false}, std::pair{LogLevel::warn, false},
          std::pair{LogLevel::error, true}, std::pair{LogLevel::fatal, true}}) {
        TemporaryDirectory fresh;
        logger = makeLogger(fresh.path());
        logNumbered(3);
        logger->log("last", level, "File.cpp", "f()", 1);
        const auto lines = bodyLines();
        ASSERT_EQ(lines.size(), writesOut ? 4u : 0u) << logLevelWord(level);
        if (writesOut) {
            EXPECT_TRUE(lines[0].ends_with(": line 0"));
            EXPECT_TRUE(lines[3].ends_with("f(): last"));
        }
    }
}

TEST_F(AppLoggerTest, ADirectoryThatCannotBeCreatedIsNoFailure) {
    const std::filesystem::path blocker = directory.path("not-a-directory");
    std::ofstream(blocker) << "x";
    std::shared_ptr<AppLogger> stranded;
    ASSERT_NO_THROW(stranded = makeLogger(blocker / "Brevane"));
    stranded->error("nowhere to go");
    stranded->waitUntilWritten();
    EXPECT_FALSE(std::filesystem::exists(stranded->logFileURL()));
}

TEST_F(AppLoggerTest, DestroyingTheLoggerWritesWhatIsBufferedAndStopsItsTimer) {
    const auto path = logger->logFileURL();
    loop->runUntilIdle();
    EXPECT_EQ(loop->activeTimerCount(), 1u);
    logNumbered(5);
    logger.reset();

    EXPECT_EQ(readLines(path).size(), headerLines + 5);
    EXPECT_EQ(loop->activeTimerCount(), 0u);

    // A timer start still queued when its logger goes does nothing.
    makeLogger(directory.path()).reset();
    loop->runUntilIdle();
    EXPECT_EQ(loop->activeTimerCount(), 0u);
}

TEST_F(AppLoggerTest, LinesFromManyThreadsAllArriveWhole) {
    constexpr int threads = 4;
    constexpr int perThread = 250;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i) {
                logger->info("thread " + std::to_string(t) + " line " + std::to_string(i));
            }
        });
    }
    for (auto& worker : workers) {
        worker.join();
    }
    logger->flush();

    const auto lines = bodyLines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(threads * perThread));
    const std::regex whole(
        R"(\[[\d:.]{12}\] \[INFO\] \[AppLoggerTests\.cpp:\d+\] TestBody\(\): thread \d line \d+)");
    for (const auto& line : lines) {
        ASSERT_TRUE(std::regex_match(line, whole)) << line;
    }
}

TEST(AppLoggerShared, IsTheInstalledPlatformsLoggerSoCrashReportsShareItsFile) {
    EXPECT_EXIT(
        {
            TemporaryDirectory directory;
            auto loop = std::make_shared<ManualRunLoop>();
            auto logger = AppLogger::create(directory.path(), loop, loop, "Test OS 1.0");
            installPlatform({.runLoop = loop, .logger = logger});
            std::exit(AppLogger::shared() == logger ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(AppLoggerDirectory, FollowsTheXdgDataDirectoryAndNeverATemporaryOne) {
    const auto folder = [](const char* data, const char* home, const char* runtime) {
        return AppLogger::applicationSupportDirectory(data, home, runtime).string();
    };
    EXPECT_EQ(folder("/data", "/home/ana", "/run/user/1"), "/data/Brevane");
    EXPECT_EQ(folder(nullptr, "/home/ana", nullptr), "/home/ana/.local/share/Brevane");
    EXPECT_EQ(folder("relative/data", "/home/ana", nullptr), "/home/ana/.local/share/Brevane");
    EXPECT_EQ(folder(nullptr, nullptr, "/run/user/1"), "/run/user/1/Brevane");
    EXPECT_EQ(folder(nullptr, "", "relative"), "");
    EXPECT_EQ(AppLogger::macApplicationSupportDirectory("/Users/ana"),
              "/Users/ana/Library/Application Support/Brevane");
}

TEST_F(AppLoggerTest, TheFolderAndTheFileAreTheOwnersAloneAndLinksAreNotFollowed) {
    const auto mode = [](const std::filesystem::path& path) {
        return std::filesystem::status(path).permissions() & std::filesystem::perms::all;
    };
    std::filesystem::permissions(directory.path(), std::filesystem::perms::owner_all |
                                                       std::filesystem::perms::group_read |
                                                       std::filesystem::perms::others_read);
    TemporaryDirectory other;
    const auto second = makeLogger(directory.path());
    EXPECT_EQ(mode(directory.path()), std::filesystem::perms::owner_all);
    EXPECT_EQ(mode(second->logFileURL()),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    // A link planted where the file is appended to is left alone, and so is its target.
    const auto target = other.path("target");
    std::ofstream(target) << "kept\n";
    std::filesystem::remove(second->logFileURL());
    std::filesystem::create_symlink(target, second->logFileURL());
    second->error("not through the link");
    second->waitUntilWritten();
    EXPECT_EQ(readFile(target), "kept\n");
    // Nor is a link in the folder's place.
    std::filesystem::create_directory_symlink(other.path(), directory.path("linked"));
    EXPECT_TRUE(makeLogger(directory.path("linked"))->logFileURL().empty());
}

} // namespace
} // namespace velmora
