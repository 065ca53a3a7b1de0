#pragma once

#include <source_location>
#include <string>
#include <string_view>

namespace velmora {

enum class LogLevel { debug, info, warn, error, fatal };

/// The word a level shows in a log line ("DEBUG", "INFO", "WARN", "ERROR", "FATAL").
std::string_view logLevelWord(LogLevel level);

/// The function text a log line shows for a call site: the C++ signature without return
/// type and qualification, e.g. "start()" or "handleStateTransition(const LockTransitionResult&)".
/// A lambda reports the function it is written in.
std::string functionSignature(std::string_view compilerFunctionName);
/// `functionSignature` of a call site's function name, as `std::source_location` gives it:
/// worked out once per site and thread, since a log call is made often and that name never
/// changes. Valid for the life of the calling thread.
std::string_view siteFunctionSignature(const char* compilerFunctionName);

/// The operation that a helper's log lines belong to: taken in the operation itself and
/// handed down, so that the lines name the operation rather than the helper.
///
///     void Controller::show(...) {
///         createWindow(..., LogOperation::current());            // "show(...)"
///     }
///     void Controller::createWindow(..., const LogOperation& operation) {
///         logger_->debug("  creating new window for " + bundleId, operation);
///     }
struct LogOperation {
    std::string function;

    static LogOperation current(std::source_location where = std::source_location::current()) {
        return {std::string(siteFunctionSignature(where.function_name()))};
    }
};

/// Where components send their log lines. The level helpers fill in the call site.
///
///     logger.info("Lock engine started");
///     logger.error("Failed to create event tap");
class Logging {
public:
    virtual ~Logging() = default;

    virtual void log(std::string_view message, LogLevel level, std::string_view file,
                     std::string_view function, int line) = 0;

    void debug(std::string_view message,
               std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::debug, where);
    }
    void info(std::string_view message,
              std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::info, where);
    }
    void warn(std::string_view message,
              std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::warn, where);
    }
    void error(std::string_view message,
               std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::error, where);
    }
    void fatal(std::string_view message,
               std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::fatal, where);
    }

    // The same, for a line of `operation` written by one of its helpers.
    void debug(std::string_view message, const LogOperation& operation,
               std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::debug, operation, where);
    }
    void info(std::string_view message, const LogOperation& operation,
              std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::info, operation, where);
    }
    void warn(std::string_view message, const LogOperation& operation,
              std::source_location where = std::source_location::current()) {
        logAt(message, LogLevel::warn, operation, where);
    }

private:
    void logAt(std::string_view message, LogLevel level, const LogOperation& operation,
               const std::source_location& where) {
        log(message, level, where.file_name(), operation.function, static_cast<int>(where.line()));
    }
    void logAt(std::string_view message, LogLevel level, const std::source_location& where) {
        log(message, level, where.file_name(), siteFunctionSignature(where.function_name()),
            static_cast<int>(where.line()));
    }
};

} // namespace velmora
