#include "Core/AppLogger.hpp"

#include "Core/LogFileWriting.hpp"
#include "Platform/Platform.hpp"
#include "Support/Lifetime.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <limits>
#include <pthread.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

/// A line repeated within this time is dropped.
const auto kDuplicateInterval = toClockDuration(Seconds{0.1});

constexpr std::size_t kKeptCapacity = 64 * 1024;

struct UtcFields {
    int year;
    unsigned month, day;
    long hours, minutes, seconds;
};

UtcFields utcFields(TimePoint time) {
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss clock{floor<std::chrono::seconds>(time - day)};
    return {static_cast<int>(date.year()),
            static_cast<unsigned>(date.month()),
            static_cast<unsigned>(date.day()),
            static_cast<long>(clock.hours().count()),
            static_cast<long>(clock.minutes().count()),
            static_cast<long>(clock.seconds().count())};
}

/// "2025-03-04T09-15-02Z": ISO 8601 in UTC, with dashes for colons so it suits a file name.
std::string fileNameTime(TimePoint time) {
    const UtcFields f = utcFields(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02ld-%02ld-%02ldZ", f.year, f.month, f.day,
                  f.hours, f.minutes, f.seconds);
    return text;
}

/// "2025-03-04 09:15:02 +0000"
std::string headerTime(TimePoint time) {
    const UtcFields f = utcFields(time);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld +0000", f.year, f.month,
                  f.day, f.hours, f.minutes, f.seconds);
    return text;
}

/// "09:15:02.481" in local time. The local-time conversion is cached per second and thread.
void appendLineTime(std::string& out, TimePoint time) {
    using namespace std::chrono;
    struct Cache {
        std::time_t second = std::numeric_limits<std::time_t>::min();
        char text[8] = {};
    };
    thread_local Cache cache;

    const auto second = floor<seconds>(time);
    const auto epochSecond = static_cast<std::time_t>(second.time_since_epoch().count());
    if (epochSecond != cache.second) {
        std::tm local{};
        localtime_r(&epochSecond, &local);
        const int fields[3] = {local.tm_hour, local.tm_min, local.tm_sec};
        for (int i = 0; i < 3; ++i) {
            cache.text[i * 3] = static_cast<char>('0' + fields[i] / 10 % 10);
            cache.text[i * 3 + 1] = static_cast<char>('0' + fields[i] % 10);
            if (i < 2) {
                cache.text[i * 3 + 2] = ':';
            }
        }
        cache.second = epochSecond;
    }
    const auto millis = static_cast<unsigned>(duration_cast<milliseconds>(time - second).count());
    out.append(cache.text, 8);
    out += '.';
    out += static_cast<char>('0' + millis / 100);
    out += static_cast<char>('0' + millis / 10 % 10);
    out += static_cast<char>('0' + millis % 10);
}

std::string header(TimePoint start, const std::string& systemVersion) {
    static constexpr std::string_view rule = "=====================================";
    std::string text;
    text.append(rule).append("\n");
    text.append("Brevane Log Started: ").append(headerTime(start)).append("\n");
    text.append("System: ").append(systemVersion).append("\n");
    text.append(rule).append("\n");
    return text;
}

/// A folder for this account alone, made if missing; false when it is a link or not a
/// folder, and then nothing is written there.
bool prepareOwnDirectory(const std::filesystem::path& directory) {
    if (directory.empty()) {
        return false;
    }
    std::error_code ignored;
    std::filesystem::create_directories(directory.parent_path(), ignored);
    ::mkdir(directory.c_str(), 0700);
    struct stat info {};
    return ::lstat(directory.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           ::chmod(directory.c_str(), 0700) == 0;
}

/// Replaces whatever is at `path` in one step, so a reader never sees half a header.
void writeAtomically(const std::filesystem::path& path, const std::string& text) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    ::unlink(temporary.c_str());
    const int fd =
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    const bool written = writeAll(fd, text.data(), text.size());
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
    }
}

// The writer queue's label as the thread's name, cut to what the system holds: Linux keeps 15
// characters, macOS 63 and names only the calling thread.
void nameThisThread(std::string_view label) {
#ifdef __APPLE__
    pthread_setname_np(std::string(label.substr(0, 63)).c_str());
#else
    pthread_setname_np(pthread_self(), std::string(label.substr(0, 15)).c_str());
#endif
}

// The user's Application Support folder as each system names it.
std::filesystem::path ownDirectory() {
#ifdef __APPLE__
    return AppLogger::macApplicationSupportDirectory(std::getenv("HOME"));
#else
    return AppLogger::applicationSupportDirectory(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                                                  std::getenv("XDG_RUNTIME_DIR"));
#endif
}

} // namespace

std::shared_ptr<AppLogger> AppLogger::create(std::filesystem::path directory,
                                             std::shared_ptr<RunLoop> runLoop,
                                             std::shared_ptr<TimeProviding> clock,
                                             std::string systemVersion) {
    const TimePoint start = clock->now();
    auto logger = std::make_shared<AppLogger>(Token{}, std::move(directory), start,
                                              std::move(runLoop), std::move(clock), systemVersion);
    logger->runLoop_->post(ifAlive(logger->weak_from_this(), &AppLogger::startFlushTimer));
    return logger;
}

const std::shared_ptr<AppLogger>& AppLogger::shared() {
    // Never destroyed: components may still log while static objects are torn down.
    static const auto* const instance = [] {
        const Platform& platform = installedPlatform();
        // The program's log where the platform has one, so that crash reports land in the
        // same file as every other line.
        auto installed = std::dynamic_pointer_cast<AppLogger>(platform.logger);
        auto* logger = new std::shared_ptr<AppLogger>(
            installed
                ? std::move(installed)
                : create(ownDirectory(), platform.runLoop, std::make_shared<SystemTimeProvider>()));
        std::atexit([] {
            shared()->flush();
            shared()->waitUntilWritten();
        });
        return logger;
    }();
    return *instance;
}

std::filesystem::path AppLogger::applicationSupportDirectory(const char* xdgDataHome,
                                                             const char* home,
                                                             const char* xdgRuntimeDir) {
    // Relative values are invalid for XDG and are ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') {
        return std::filesystem::path(xdgDataHome) / "Brevane";
    }
    if (home != nullptr && home[0] == '/') {
        return std::filesystem::path(home) / ".local" / "share" / "Brevane";
    }
    if (xdgRuntimeDir != nullptr && xdgRuntimeDir[0] == '/') {
        return std::filesystem::path(xdgRuntimeDir) / "Brevane";
    }
    return {};
}

std::filesystem::path AppLogger::macApplicationSupportDirectory(const char* home) {
    if (home != nullptr && home[0] == '/') {
        return std::filesystem::path(home) / "Library" / "Application Support" / "Brevane";
    }
    return {};
}

AppLogger::AppLogger(Token, const std::filesystem::path& directory, TimePoint start,
                     std::shared_ptr<RunLoop> runLoop, std::shared_ptr<TimeProviding> clock,
                     const std::string& systemVersion)
    : logFileURL_(prepareOwnDirectory(directory)
                      ? directory / ("Brevane-" + fileNameTime(start) + ".log")
                      : std::filesystem::path()),
      runLoop_(std::move(runLoop)), clock_(std::move(clock)) {
    logBuffer_.reserve(maxBufferSize * 128);
    if (!logFileURL_.empty()) {
        writeAtomically(logFileURL_, header(start, systemVersion));
        std::cout << "[Brevane] Log file: " << logFileURL_.string() << std::endl;
    }
    writer_ = std::thread([this] { runWriter(); });
}

AppLogger::~AppLogger() {
    flushTimer_.invalidate();
    {
        std::lock_guard lock(mutex_);
        requestWriteOutLocked();
        stopping_ = true;
    }
    wake_.notify_one();
    writer_.join();
}

void AppLogger::startFlushTimer() {
    flushTimer_ = runLoop_->every(flushInterval, ifAlive(weak_from_this(), &AppLogger::flush));
}

void AppLogger::log(std::string_view message, LogLevel level, std::string_view file,
                    std::string_view function, int line) {
    try {
        const TimePoint now = clock_->now();
        const std::string_view fileName = lastPathComponent(file);
        const std::string_view word = logLevelWord(level);
        char number[12];
        const auto numberEnd = std::to_chars(number, number + sizeof number, line).ptr;

        bool writeOutAsked = false;
        {
            // Formatted straight into the buffer: a line costs no allocation of its own.
            std::lock_guard lock(mutex_);
            const std::size_t start = logBuffer_.size();
            logBuffer_ += '[';
            appendLineTime(logBuffer_, now);
            logBuffer_.append("] [").append(word).append("] [").append(fileName).append(":");
            logBuffer_.append(number, numberEnd).append("] ").append(function).append(": ");
            logBuffer_.append(message);
            const std::string_view text = std::string_view(logBuffer_).substr(start);
            const std::string_view last =
                bufferedLines_ == 0 ? std::string_view(lastLogMessage_)
                                    : std::string_view(logBuffer_)
                                          .substr(lastLineStart_, start - 1 - lastLineStart_);
            if (text == last && now - lastLogTime_ < kDuplicateInterval) {
                logBuffer_.resize(start);
                return;
            }
            logBuffer_ += '\n';
            lastLineStart_ = start;
            lastLogTime_ = now;
            if (++bufferedLines_ >= maxBufferSize || level >= LogLevel::error) {
                writeOutAsked = writeOutsRequested_ == writeOutsTaken_;
                requestWriteOutLocked();
            }
        }
        if (writeOutAsked) {
            wake_.notify_one();
        }
    } catch (...) {
        // Out of memory: the line is dropped, the caller goes on.
    }
}

void AppLogger::flush() {
    bool asked = false;
    {
        std::lock_guard lock(mutex_);
        asked = writeOutsRequested_ == writeOutsTaken_;
        requestWriteOutLocked();
    }
    if (asked) {
        wake_.notify_one();
    }
}

void AppLogger::requestWriteOutLocked() {
    // A write-out the writer has not started yet takes every line buffered by then, so one
    // pending request is enough.
    if (writeOutsRequested_ == writeOutsTaken_) {
        ++writeOutsRequested_;
    }
}

void AppLogger::waitUntilWritten() {
    if (std::this_thread::get_id() == writer_.get_id()) {
        return;
    }
    std::unique_lock lock(mutex_);
    const std::uint64_t target = writeOutsRequested_;
    written_.wait(lock, [&] { return writeOutsDone_ >= target; });
}

bool AppLogger::takeOverForCrash(CrashLineSink sink, void* context) noexcept {
    if (!fileMutex_.try_lock()) {
        return false;
    }
    // Both locks stay taken: the process is about to end and nothing may be written after the
    // caller's report.
    if (!mutex_.try_lock()) {
        return false;
    }
    // The sink ends each piece with a newline, so a message with newlines of its own comes out
    // unchanged.
    std::string_view rest = logBuffer_;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        sink(rest.substr(0, end), context);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return true;
}

void AppLogger::runWriter() {
    nameThisThread("com.brevane.logger");
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || writeOutsRequested_ != writeOutsTaken_; });
            if (writeOutsRequested_ == writeOutsTaken_) {
                return;
            }
        }
        std::uint64_t request = 0;
        {
            std::lock_guard fileLock(fileMutex_);
            {
                std::lock_guard lock(mutex_);
                request = writeOutsRequested_;
                writeOutsTaken_ = request;
                // The next line is compared with the last one, whichever batch holds it.
                if (bufferedLines_ != 0) {
                    lastLogMessage_.assign(logBuffer_, lastLineStart_,
                                           logBuffer_.size() - 1 - lastLineStart_);
                }
                batch_.swap(logBuffer_);
                bufferedLines_ = 0;
                lastLineStart_ = 0;
            }
            writeOut();
        }
        {
            std::lock_guard lock(mutex_);
            writeOutsDone_ = request;
        }
        written_.notify_all();
    }
}

void AppLogger::writeOut() {
    if (batch_.empty()) {
        return;
    }
    // Never created here: a log file deleted while running stays deleted.
    const int fd = ::open(logFileURL_.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    if (fd >= 0) {
        writeAll(fd, batch_.data(), batch_.size());
        ::close(fd);
    }
    batch_.clear();
    // A burst's worth of room is given back; a batch's is kept.
    if (batch_.capacity() > kKeptCapacity) {
        batch_.shrink_to_fit();
    }
}

} // namespace velmora
