#pragma once

#include "Core/AppLogger.hpp"

#include <array>
#include <csignal>
#include <exception>
#include <memory>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

namespace velmora {

/// A C++ exception that reached the top of a thread.
struct UncaughtException {
    std::string name;                  ///< the demangled type, e.g. "std::runtime_error"
    std::optional<std::string> reason; ///< `what()`, for exceptions derived from std::exception
    std::vector<std::string> callStackSymbols;
};

/// Leaves a report in the application log when the process dies of a fatal signal or of an
/// uncaught exception.
///
///     CrashReporter::shared().install();   // first thing at start-up
///
/// A signal is reported from memory prepared by `install()`, without allocating or locking,
/// and the report is in the log file before the signal is raised again with its default
/// action. An exception is logged at FATAL, then the terminate handler installed before runs.
class CrashReporter {
public:
    struct FatalSignal {
        int number;
        const char* name;
    };
    static constexpr std::array<FatalSignal, 6> fatalSignals{{{SIGABRT, "SIGABRT"},
                                                              {SIGSEGV, "SIGSEGV"},
                                                              {SIGBUS, "SIGBUS"},
                                                              {SIGILL, "SIGILL"},
                                                              {SIGFPE, "SIGFPE"},
                                                              {SIGPIPE, "SIGPIPE"}}};

    /// The process-wide reporter, writing through `AppLogger::shared()`. Never destroyed.
    static CrashReporter& shared();

    explicit CrashReporter(std::shared_ptr<AppLogger> logger);
    /// Puts back the handlers found at `install()`.
    ~CrashReporter();
    CrashReporter(const CrashReporter&) = delete;
    CrashReporter& operator=(const CrashReporter&) = delete;

    /// Takes over the terminate handler and the fatal signals. Call once, at start-up.
    void install();

    /// Logs the report, waits until it is in the file, then calls the terminate handler that
    /// was installed before, if any.
    void handleException(const UncaughtException& exception);

    /// Writes the report straight into the log file, then ends the process with the signal's
    /// default action. Async-signal-safe once `install()` has run.
    void handleSignal(int signal, const char* name) noexcept;

private:
    [[noreturn]] static void onTerminate();
    static void onSignal(int signal);
    void writeSignalReport(int signal, const char* name, const std::source_location& where,
                           int fd) noexcept;

    std::terminate_handler previousExceptionHandler_ = nullptr;
    std::shared_ptr<AppLogger> logger_;
    std::string logFilePath_;
    long utcOffsetSeconds_ = 0;
    bool installed_ = false;
};

} // namespace velmora
