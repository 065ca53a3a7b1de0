#pragma once

#include "Core/SystemVersion.hpp"
#include "Support/Logging.hpp"
#include "Support/RunLoop.hpp"
#include "Support/TimeProviding.hpp"

#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace velmora {

/// The application's log: a new file per start, lines kept in memory and appended in batches
/// by a writer thread of its own, so callers never wait for the disk.
///
///     auto logger = AppLogger::create(directory, runLoop, clock);
///     logger->info("Lock engine started");
///     // [09:15:02.481] [INFO] [LockEngine.cpp:42] start(): Lock engine started
///
/// A batch is written when 100 lines are waiting, every 60 s (a timer on the run loop) and
/// right after an ERROR or FATAL line. `log` may be called from any thread.
class AppLogger final : public Logging, public std::enable_shared_from_this<AppLogger> {
    struct Token {};

public:
    static constexpr std::size_t maxBufferSize = 100;
    static constexpr Seconds flushInterval{60.0};

    /// Writes the header of a new log file in `directory` (created if missing; failures are
    /// ignored) and queues the start of the flush timer on `runLoop`. The directory is made
    /// for this account alone (0700) and the file readable by it alone (0600); a link in
    /// either place is never followed. Without a directory nothing is written.
    static std::shared_ptr<AppLogger> create(std::filesystem::path directory,
                                             std::shared_ptr<RunLoop> runLoop,
                                             std::shared_ptr<TimeProviding> clock,
                                             std::string systemVersion = currentSystemVersion());

    /// The process-wide logger: created on first use in the Application Support directory,
    /// with the installed platform's run loop and the system clock. Never destroyed; whatever
    /// is still buffered is written when the process exits normally.
    static const std::shared_ptr<AppLogger>& shared();

    /// "$XDG_DATA_HOME/Brevane", else "$HOME/.local/share/Brevane", else
    /// "$XDG_RUNTIME_DIR/Brevane", else none: never a folder others can write to. Any
    /// argument may be null.
    static std::filesystem::path applicationSupportDirectory(const char* xdgDataHome,
                                                             const char* home,
                                                             const char* xdgRuntimeDir);
    /// On macOS: "$HOME/Library/Application Support/Brevane", the per-user folder of a
    /// program outside the sandbox, else none.
    static std::filesystem::path macApplicationSupportDirectory(const char* home);

    AppLogger(Token, const std::filesystem::path& directory, TimePoint start,
              std::shared_ptr<RunLoop> runLoop, std::shared_ptr<TimeProviding> clock,
              const std::string& systemVersion);
    /// Writes what is buffered, then stops the writer thread.
    ~AppLogger() override;
    AppLogger(const AppLogger&) = delete;
    AppLogger& operator=(const AppLogger&) = delete;

    void log(std::string_view message, LogLevel level, std::string_view file,
             std::string_view function, int line) override;

    /// Asks the writer thread to append the buffered lines to the file; returns at once.
    void flush();

    /// Blocks until every write-out asked for so far has finished (it asks for none itself).
    /// Returns at once on the writer thread.
    void waitUntilWritten();

    [[nodiscard]] const std::filesystem::path& logFileURL() const { return logFileURL_; }

    using CrashLineSink = void (*)(std::string_view line, void* context);

    /// For a fatal signal handler, so the crash report comes last in the file: hands every
    /// line not yet written to `sink` and keeps the writer from writing again. Never blocks
    /// and never allocates; if the writer or a caller is busy it hands over nothing and
    /// returns false (those lines are lost).
    bool takeOverForCrash(CrashLineSink sink, void* context) noexcept;

private:
    void startFlushTimer();
    void requestWriteOutLocked();
    void runWriter();
    void writeOut();

    const std::filesystem::path logFileURL_;
    const std::shared_ptr<RunLoop> runLoop_;
    const std::shared_ptr<TimeProviding> clock_;
    TimerHandle flushTimer_;

    // Guards the duplicate check, the buffer and the write-out requests. Lock order:
    // fileMutex_, then mutex_.
    std::mutex mutex_;
    /// The last line of the batch last taken by the writer, once the buffer is empty.
    std::string lastLogMessage_;
    TimePoint lastLogTime_{};
    // Lines end to end, each ending in a newline: the buffer and the writer's batch swap
    // places, so neither allocates once both have grown to a batch.
    std::string logBuffer_;
    std::size_t bufferedLines_ = 0;
    std::size_t lastLineStart_ = 0;
    std::uint64_t writeOutsRequested_ = 0;
    std::uint64_t writeOutsTaken_ = 0;
    std::uint64_t writeOutsDone_ = 0;
    bool stopping_ = false;
    std::condition_variable wake_;
    std::condition_variable written_;

    // Held by the writer for a whole write-out.
    std::mutex fileMutex_;
    std::string batch_;
    std::thread writer_;
};

} // namespace velmora
